#!/usr/bin/env bash
# Runs the calculation driver twice and holds the two outputs to each other,
# calculation by calculation:
#
#   compare-corpus.sh reference CORPUS HARD_CASES DRIVER REFERENCE_DRIVER WORK_DIR
#       the engine against the same engine with MPFR's tan and atan
#   compare-corpus.sh windows CORPUS HARD_CASES DRIVER WINDOWS_DRIVER WORK_DIR
#       the Linux build against the MinGW-w64 build run under wine; skipped
#       (exit 77) where the cross-compiler's driver or wine is missing
set -euo pipefail
mode=$1 corpus=$2 hard_cases=$3 driver=$4 other=$5 work=$6
mkdir -p "$work"
: >"$work/$mode-errors.txt"

# Wine's first start in a new prefix sets the prefix up, which takes a few
# seconds on an idle machine and much longer on a busy one.
wine_limit=120 # twice this stays within the test's time limit of 300 s
run_other=("$other")
if [ "$mode" = windows ]; then
    wine=$(command -v wine64 || command -v wine || true)
    [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
    if [ -z "$other" ] || [ ! -f "$other" ] || [ -z "$wine" ]; then
        echo "SKIP: needs the MinGW-w64 build of the driver (g++-mingw-w64-x86-64-posix) and wine64"
        exit 77
    fi
    export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    run_other=(timeout "$wine_limit" "$wine" "$other")
fi

compare() { # what, expected file, actual file
    local identical total
    total=$(wc -l <"$2")
    identical=$(paste -d '\n' "$2" "$3" | paste - - | awk -F '\t' '$1 == $2' | wc -l)
    echo "$1: $identical of $total identical"
    if [ "$identical" -ne "$total" ] || [ "$(wc -l <"$3")" -ne "$total" ]; then
        diff "$2" "$3" | head -20
        return 1
    fi
}

# Runs the other driver on its arguments into the file $1; Windows ends its
# lines with CR LF.
run_other_into() {
    local output=$1 status=0
    shift
    "${run_other[@]}" "$@" 2>>"$work/$mode-errors.txt" | tr -d '\r' >"$output" || status=$?
    if [ "$status" -eq 124 ]; then
        echo "wine did not start the driver and finish within $wine_limit s (prefix $WINEPREFIX)"
        exit 1
    fi
    return "$status"
}

"$driver" "$corpus" >"$work/calculations-linux.txt"
"$driver" --trig "$hard_cases" >"$work/trig-linux.txt"
run_other_into "$work/calculations-$mode.txt" "$corpus"
run_other_into "$work/trig-$mode.txt" --trig "$hard_cases"
if [ "$mode" = windows ]; then
    wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
    "$wineserver" -k 2>/dev/null || true
fi

result=0
compare "calculations" "$work/calculations-linux.txt" "$work/calculations-$mode.txt" || result=1
compare "tan and atan" "$work/trig-linux.txt" "$work/trig-$mode.txt" || result=1
exit $result
