#!/usr/bin/env bash
# Fails if a product source calls the C library's tan, atan, atan2 or pow (or
# their float and long double forms) instead of maths/Transcendental.h and
# maths/PowersOfTen.h, whose results are rounded correctly and so the same
# on every platform.
# Comments may name them.
#
#   check-trig-calls.sh SOURCE_DIR
set -euo pipefail
cd "$1"
call='(^|[^A-Za-z0-9_])(tan|atan|atan2|pow)[fl]?[[:space:]]*\('
mapfile -t product < <(find . -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name 'build*' \
    ! -name tests ! -name fuzz ! -name bench ! -name docs ! -name packaging ! -name tools \
    ! -name cmake)
calls=$(grep -rnE --include='*.cpp' --include='*.h' "$call" "${product[@]}" |
    awk -v call="$call" '{ code = $0; sub(/^[^:]*:[0-9]+:/, "", code); sub(/\/\/.*/, "", code)
                          if (code ~ call) print }' || true)
if [ -n "$calls" ]; then
    echo "The C library's tan, atan, atan2 or pow in product code (use Tan, Atan or PowerOfTen"
    echo "from maths/Transcendental.h and maths/PowersOfTen.h):"
    echo "$calls"
    exit 1
fi
echo "No product source in ${product[*]} calls the C library's tan, atan, atan2 or pow"
