#!/usr/bin/env bash
# Extracts every marked string of the program's sources with lupdate, as a
# translator's tools would, into TS_FILE; fails on any warning lupdate gives
# (a tr() it cannot place, a context it cannot find). Skipped where lupdate is
# missing.
#
#   extract-strings.sh LUPDATE SOURCE_DIR TS_FILE
set -uo pipefail

lupdate=$1
source=$2
ts=$3
if [ ! -x "$lupdate" ]; then
    echo "SKIP: no lupdate (Debian: qt6-l10n-tools)"
    exit 77
fi
rm -f "$ts"
# The include path lets lupdate read each class's header and place its tr().
output=$(cd "$source" && "$lupdate" -I . -recursive profile text plot export import widgets window profilewindow app \
    -ts "$ts" 2>&1)
status=$?
printf '%s\n' "$output"
findings=$(grep -vE "^Scanning directory|^Updating|^ +Found [0-9]+ source text" <<<"$output")
if [ "$status" -ne 0 ] || [ -n "$findings" ] || [ ! -s "$ts" ]; then
    echo "FAIL: lupdate gave warnings or no file" >&2
    exit 1
fi
echo "PASS: $(grep -c '<source>' "$ts") strings extracted into $ts"
