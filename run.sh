#!/usr/bin/env bash
# Installs what building and running Pendrio need (nothing of the test suite),
# builds the program alone, and opens its window.
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DPENDRIO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target pendrio
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to open the window on; run it under a virtual one with: xvfb-run -a ./run.sh" >&2
    exit 1
fi
exec build/app/pendrio
