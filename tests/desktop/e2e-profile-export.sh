#!/usr/bin/env bash
# End to end on a real X server and window manager: the whole curve out of
# the real program. "Copy all sections" by its shortcut in the main window is
# read back from the X clipboard with xclip; the profile window opens beside
# the main window by its shortcut; its File menu saves the sections as CSV,
# read back with Python's csv module, and the plot as SVG, rendered with
# rsvg-convert, and as PNG, through the real file dialog. A cancelled dialog
# writes nothing.
#
#   e2e-profile-export.sh PROGRAM SCRATCH_DIR
set -euo pipefail

program=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=x-session.sh
. "$here/x-session.sh"
xs_require "${XS_X_TOOLS[@]}" xclip:xclip rsvg-convert:librsvg2-bin

xs_budget 50
rm -rf "$scratch"
mkdir -p "$scratch/out"
xs_start "$scratch" 1920x1080x24

xs_start_pendrio "$scratch/pendrio.log" "$program"
main_window=$xs_window

keys() { xdo key --clearmodifiers --delay 40 "$@"; }
clipboard_has() { timeout 5 xclip -o -selection clipboard >"$2" 2>/dev/null && [ "$(wc -l <"$2")" -eq "$1" ]; }

# ---- Copy all sections, by its shortcut, onto the X clipboard ---------------
xdo windowactivate --sync "$main_window"
keys ctrl+shift+c
xs_until 5 "header and row on the clipboard" clipboard_has 2 "$scratch/default.tsv" ||
    fail "nothing on the clipboard after Ctrl+Shift+C"
printf 'Section\tDistance at start [track units]\tSection length [track units]\t2nd order coefficient [track units]\t1st order coefficient [track units]\tHeight at start of section [track units]\tGradient at start of section [°]\tGradient at end of section [°]\n1\t0\t1968503.937\t0\t0\t0\t0\t0\n' >"$scratch/default-expected.tsv"
diff "$scratch/default-expected.tsv" "$scratch/default.tsv" ||
    fail "the default profile's sections on the clipboard differ (above)"
echo "== default profile copied: $(wc -l <"$scratch/default.tsv") lines"

# Three sections: the focus starts in "Length" (whose text, 1968504, is then
# taken as typed); Tab to "No. of sections",
# type 3, then back with Shift+Tab to "Calculate" and press it.
keys Tab Tab Tab Tab 3 shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
keys ctrl+shift+c
xs_until 5 "header and 3 rows on the clipboard" clipboard_has 4 "$scratch/three.tsv" ||
    fail "expected a header and 3 rows, got: $(cat "$scratch/three.tsv")"
[ "$(sed -n 3p "$scratch/three.tsv" | cut -f1-3)" = "$(printf '2\t656168\t656168')" ] ||
    fail "section 2 on the clipboard reads: $(sed -n 3p "$scratch/three.tsv")"

# ---- The profile window, beside the main window ----------------------------
keys ctrl+shift+p
xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
profile_window=$xs_window
read -r mx my mw mh < <(xs_geometry "$(xs_toplevel "$main_window")")
read -r px py pw ph < <(xs_geometry "$(xs_toplevel "$profile_window")")
echo "== main window at $mx,$my ${mw}x$mh, profile window at $px,$py ${pw}x$ph"
((px >= mx + mw || px + pw <= mx || py >= my + mh || py + ph <= my)) ||
    fail "the profile window covers the main window"

open_dialog() { # open_dialog KEYS...: opens a save dialog from the profile window
    xdo windowactivate --sync "$profile_window"
    keys "$@"
    xs_until 5 "active save dialog after $*" save_dialog_active || exit 1
}
# save_through_dialog KEYS... -- PATH: opens a save dialog with KEYS and
# accepts PATH in it.
save_through_dialog() {
    local path=${*: -1}
    open_dialog "${@:1:$#-2}"
    keys ctrl+a
    xdo type --delay 10 "$path"
    keys Return
    xs_until 5 "file $path" test -s "$path" || exit 1
}
# Shown and given the keyboard: what is typed next goes into it.
save_dialog_active() { timeout 2 xdotool getactivewindow getwindowname 2>/dev/null | grep -q '^Save '; }
save_dialog_gone() { [ -z "$(timeout 2 xdotool search --onlyvisible --name '^Save ' 2>/dev/null)" ]; }

save_through_dialog ctrl+s -- "$scratch/out/sections.csv"
save_through_dialog alt+f s -- "$scratch/out/plot.svg"
save_through_dialog alt+f p -- "$scratch/out/plot.png"

# A cancelled dialog writes nothing: looked at once the next dialog is open.
open_dialog ctrl+s
keys Escape
xs_until 5 "save dialog closed by Escape" save_dialog_gone || exit 1
open_dialog ctrl+s
[ "$(cd "$scratch/out" && echo *)" = "plot.png plot.svg sections.csv" ] ||
    fail "files after a cancelled dialog: $(ls "$scratch/out")"

# The CSV through Python's csv module: plain ASCII, the header, 3 rows of 10
# numbers, and the numbers as the calculation stores them (Python's division
# rounds as C++ does).
/usr/bin/python3 - "$scratch/out/sections.csv" <<'PY' || fail "the CSV does not read back"
import csv, math, sys
with open(sys.argv[1], newline="", encoding="ascii") as f:
    rows = list(csv.reader(f))
header, body = rows[0], rows[1:]
assert len(header) == 10 and header[0] == "Section", header
assert header[6] == "Gradient at start of section [deg]", header[6]
assert len(body) == 3 and all(len(r) == 10 for r in body), body
values = [[float(x) for x in r] for r in body]
assert [r[0] for r in values] == [1, 2, 3]
assert all(r[2] == 1968504 / 3 for r in values), values
assert values[2][1] == 2 / 3 * 1968504, values[2][1]
assert all(math.isfinite(x) for r in values for x in r)
print("== CSV read back:", len(body), "rows of", len(header), "columns")
PY

timeout 30 rsvg-convert "$scratch/out/plot.svg" -o "$scratch/plot-from-svg.png" ||
    fail "rsvg-convert could not render the SVG"
[ "$(identify -format '%wx%h' "$scratch/plot-from-svg.png")" = 1200x600 ] ||
    fail "the SVG renders at $(identify -format '%wx%h' "$scratch/plot-from-svg.png")"
[ "$(identify -format '%m %wx%h' "$scratch/out/plot.png")" = "PNG 1200x600" ] ||
    fail "plot.png is $(identify -format '%m %wx%h' "$scratch/out/plot.png")"
echo "== SVG rendered and PNG read at 1200x600"
echo "PASS"
