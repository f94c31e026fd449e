#!/usr/bin/env bash
# Configures and builds Pendrio into build/ (or the directory given as $1,
# with any further arguments passed on to CMake).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" -j"$(nproc)"
