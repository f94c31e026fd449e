#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless:
# first the ordinary build, then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of every fuzz target. The tests
# run in parallel, one per core, so every run shows that they can.
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh test
tools/ensure-node-packages.sh build
tools/ensure-node-packages.sh build-asan
tools/build.sh build -DBUILD_TESTING=ON -DPENDRIO_BUILD_BENCHMARKS=ON
(cd build && ctest --output-on-failure -j"$(nproc)")

# Any sanitizer report ends the process that made it with a stack trace, which
# fails its test; ctest lists the GoogleTest cases when it runs them, under the
# same options. tools/lsan.supp names the one system library whose leak at exit
# is not ours to fix.
(
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
    tools/build.sh build-asan -DPENDRIO_SANITIZE=ON -DBUILD_TESTING=ON -DPENDRIO_BUILD_BENCHMARKS=OFF
    cd build-asan && ctest --output-on-failure -j"$(nproc)"
)

fuzz/run.sh 5
