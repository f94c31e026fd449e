#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs each one for
# the given number of seconds (10 by default), starting from a scratch copy of
# its seed corpus so that the committed seeds stay as they are. Exits non-zero
# as soon as a target crashes, keeping the input that did it.
#
#   fuzz/run.sh [seconds per target]
#   PENDRIO_FUZZ_BUILD_DIR=/tmp/fuzz-build fuzz/run.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
build_dir=${PENDRIO_FUZZ_BUILD_DIR:-build-fuzz}
targets=(calculate_profile_fuzzer text_to_number_fuzzer number_to_text_fuzzer plot_fuzzer
    stations_fuzzer alignment_files_fuzzer alignment_reader_fuzzer transcendental_fuzzer)

cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPENDRIO_BUILD_FUZZERS=ON -DBUILD_TESTING=OFF -DPENDRIO_BUILD_BENCHMARKS=OFF \
    >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
crashes="$build_dir/fuzz/crashes"
mkdir -p "$crashes"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

for target in "${targets[@]}"; do
    corpus="$scratch/$target"
    mkdir -p "$corpus"
    cp fuzz/corpus/"$target"/* "$corpus"/
    log="$scratch/$target.log"
    if ! "$build_dir/fuzz/$target" "$corpus" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -use_value_profile=1 -artifact_prefix="$crashes/$target-" \
        >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target crashed; the input is in $crashes/ (replay: $build_dir/fuzz/$target FILE)" >&2
        exit 1
    fi
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$log" || echo 'finished')"
done
