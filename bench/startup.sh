#!/usr/bin/env bash
# Compares Pendrio's start-up with that of two yardsticks: a window with the
# same controls and no logic (controls_window), and an empty Qt window of the
# same size (bare_window). All run on the offscreen platform and quit as soon
# as they have painted their first frame; they take turns, so that a change in
# the machine's load affects all alike. Prints the median wall time and the
# median peak memory (maximum resident set size) of each, and the program's
# figures over each yardstick's.
#
#   bench/startup.sh [runs of each, default 15] [build directory, default build] [NAME=PROGRAM...]
#
# Each NAME=PROGRAM is measured in the same turns, as another row: an earlier
# build of Pendrio, say, to see what a change did to start-up.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build_dir=${2:-build}
names=(pendrio controls_window bare_window)
programs=("$build_dir/app/pendrio" "$build_dir/bench/controls_window" "$build_dir/bench/bare_window")
for extra in "${@:3}"; do
    names+=("${extra%%=*}")
    programs+=("${extra#*=}")
done
for program in "${programs[@]}"; do
    if [ ! -x "$program" ]; then
        echo "No $program; build it first with tools/build.sh $build_dir" >&2
        exit 1
    fi
done

export QT_QPA_PLATFORM=offscreen PENDRIO_QUIT_AFTER_FIRST_FRAME=1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Appends "<milliseconds> <KiB>" for one run of $2 to the file $1.
measure() {
    local start end
    start=$(date +%s%N)
    if ! timeout 30 /usr/bin/time -f %M -o "$scratch/rss" "$2" >"$scratch/output" 2>&1; then
        cat "$scratch/output" >&2
        echo "$2 did not start and quit cleanly" >&2
        exit 1
    fi
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $(tail -n 1 "$scratch/rss")" >>"$1"
}

# One untimed run each, so that neither pays alone for a cold disk cache.
for program in "${programs[@]}"; do
    measure /dev/null "$program"
done
for ((run = 0; run < runs; ++run)); do
    for i in "${!programs[@]}"; do
        measure "$scratch/${names[i]}" "${programs[i]}"
    done
done

median() { # column $2 of file $1
    sort -n -k "$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo "Start-up to the first frame, offscreen, median of $runs runs each:"
printf '  %-16s %10s %14s %12s %12s\n' "" "wall time" "peak memory" "time ratio" "memory ratio"
read -r pendrio_us < <(median "$scratch/pendrio" 1)
read -r pendrio_kib < <(median "$scratch/pendrio" 2)
for name in "${names[@]}"; do
    read -r us < <(median "$scratch/$name" 1)
    read -r kib < <(median "$scratch/$name" 2)
    awk -v n="$name" -v u="$us" -v k="$kib" -v pu="$pendrio_us" -v pk="$pendrio_kib" 'BEGIN {
        printf "  %-16s %7.1f ms %10.0f KiB %11.2fx %11.2fx\n", n, u / 1000, k, pu / u, pk / k }'
done
echo "  (ratio: pendrio over that row's program)"
