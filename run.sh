#!/usr/bin/env bash
# Installs what is missing, builds, and opens Pendrio's window.
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh
tools/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to open the window on; run it under a virtual one with: xvfb-run -a ./run.sh" >&2
    exit 1
fi
exec build/app/pendrio
