#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh
tools/build.sh build
(cd build && ctest --output-on-failure)
