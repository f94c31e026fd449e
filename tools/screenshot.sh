#!/usr/bin/env bash
# Takes the screenshots of Pendrio's window for the documentation: the window
# with its frame as openbox draws it on a virtual X server, at the normal scale
# (screenshot.png) and at QT_SCALE_FACTOR=2 (screenshot-scale2.png); and the
# profile window beside it for the default profile (profile-default.png) and
# for a 16-section crest, +1.5 % to -2.5 % over 800 m (profile-crest.png); and
# whole screens of 1024 x 768, 1366 x 768 and 2732 x 1536 at twice the scale
# (desk-*.png) with the main window in the middle and the profile window
# where it places itself, showing the crest's stations from 1+000 every 20 m,
# the height at 1+300, the pointer's readout and the note of an input
# changed since: the longest texts it shows; and the profile window at
# 1366 x 768 in metres and in track units (units-*.png), with its facts, the
# height at a chainage and the length for a radius; and the Design tab's four
# ways at 1366 x 768 (design-*.png), and a point no curve passes through.
#
#   tools/screenshot.sh [OUT_DIR]      (default: docs/)
#
# The program is build/app/pendrio, or the one named by $PENDRIO; its title is
# read from its build tree. Xvfb, openbox and the program are all ended when
# the script ends, after 240 s at the latest.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs}
program=${PENDRIO:-$root/build/app/pendrio}
[ -x "$program" ] || { echo "no program at $program: build first (tools/build.sh)" >&2; exit 1; }
command -v import >/dev/null || { echo "ImageMagick's import is missing: run tools/ensure-packages.sh" >&2; exit 1; }
# shellcheck source-path=SCRIPTDIR source=../tests/desktop/x-session.sh
. "$root/tests/desktop/x-session.sh"
header=$(dirname "$program")/../include/pendrio_programinfo/programinfo/ProgramInfo.h
: "${PENDRIO_WINDOW_TITLE:=$(sed -n 's/.*WindowTitle\[\] = "\(.*\)";.*/\1/p' "$header" 2>/dev/null)}"
[ -n "$PENDRIO_WINDOW_TITLE" ] || fail "no window title in $header: set PENDRIO_WINDOW_TITLE"

xs_budget 240
mkdir -p "$out"
out=$(cd "$out" && pwd)
scratch=$(mktemp -d)
xs_remove_on_exit=$scratch
xs_start "$scratch" 2560x1440x24

shot() { # shot WINDOW FILE: the window, active, in its frame, with the pointer away
    xdo windowactivate --sync "$1"
    xdo mousemove 0 0
    sleep 1 # nothing tells when Qt has painted, nor when openbox has drawn the frame active
    timeout 10 import -window "$(xs_toplevel "$1")" "$2"
}
shoot() { # shoot SCALE FILE
    xs_start_pendrio "$scratch/pendrio-$1.log" "$program" QT_SCALE_FACTOR="$1"
    shot "$xs_window" "$2"
    echo "$2: $(identify -format '%wx%h' "$2") (client area $(xs_geometry "$xs_window" | cut -d' ' -f3-4 | tr ' ' x))"
    xs_stop "$xs_app_pid"
}
# shoot_profile FILE [KEYS...]: types KEYS into the main window (from the
# "Length" box), opens the profile window with Ctrl+Shift+P and shoots it.
shoot_profile() {
    local file=$1
    shift
    xs_start_pendrio "$scratch/pendrio-profile.log" "$program"
    xdo windowactivate --sync "$xs_window"
    [ $# -eq 0 ] || xdo key --delay 30 "$@"
    xdo key --delay 30 ctrl+shift+p
    xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
    shot "$xs_window" "$file"
    echo "$file: $(identify -format '%wx%h' "$file")"
    xs_stop "$xs_app_pid"
}
shoot 1 "$out/screenshot.png"
shoot 2 "$out/screenshot-scale2.png"
shoot_profile "$out/profile-default.png"
# 800 m, height 0, atan(0.015) and atan(-0.025) in degrees, 16 sections; then
# back with Shift+Tab to "Calculate" and press it.
mapfile -t crest < <(for value in 15748031.496 0 0.859372 -1.432096 16; do
    xs_key_names "$value"
    echo Tab
done)
shoot_profile "$out/profile-crest.png" "${crest[@]}" shift+Tab shift+Tab shift+Tab shift+Tab \
    shift+Tab shift+Tab space

# shoot_desk SCREEN SCALE FILE: a screen of its own, as described at the top.
shoot_desk() {
    local screen=$1 width height main frame fw fh profile px py pw ph
    read -r width height < <(echo "${screen/x/ }")
    xs_start "$scratch/$screen" "${screen}x24"
    xs_start_pendrio "$scratch/pendrio-$screen.log" "$program" QT_SCALE_FACTOR="$2"
    main=$xs_window
    frame=$(xs_toplevel "$main")
    read -r _ _ fw fh < <(xs_geometry "$frame")
    local cx=$(((width - fw) / 2)) cy=$(((height - fh) / 2))
    xdo windowmove "$frame" "$cx" "$cy"
    # Qt's windows have static gravity: openbox puts the client area where asked.
    moved() { [ "$(xs_geometry "$main" | cut -d' ' -f1-2)" = "$cx $cy" ]; }
    xs_until 5 "main window at $cx,$cy" moved || exit 1
    xdo windowactivate --sync "$main"
    xdo key --delay 30 "${crest[@]}" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab \
        space
    # A new height at start, not calculated: the note.
    xdo key --delay 30 Tab Tab 5 Tab ctrl+shift+p
    xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
    profile=$xs_window
    xdo windowactivate --sync "$profile"
    xdo key --delay 30 alt+a alt+c "${setting_out[@]}"
    read -r px py pw ph < <(xs_geometry "$profile")
    xdo mousemove $((px + pw / 2)) $((py + ph / 5))
    xdo mousemove $((px + pw / 2 + 3)) $((py + ph / 5 + 1))
    sleep 1 # nothing tells when Qt has painted the readout
    timeout 10 import -window root "$3"
    echo "$3: $(identify -format '%wx%h' "$3")"
    xs_stop "$xs_app_pid"
}
# The crest's stations from 1+000 every 20 m, and the height at 1+300.
mapfile -t setting_out < <(
    xs_key_names 1+000
    echo Tab
    xs_key_names 20
    echo alt+h
    xs_key_names 1+300
)
# shoot_units UNIT FILE: at 1366 x 768, the crest's profile window with View
# set to UNIT (m or t), its facts, the height at 1+300 and the length for a
# vertical radius of 20000 m: the Stations tab, then the design tab (FILE
# with -design before .png).
shoot_units() {
    xs_start "$scratch/units-$1" 1366x768x24
    xs_start_pendrio "$scratch/pendrio-units-$1.log" "$program"
    xdo windowactivate --sync "$xs_window"
    xdo key --delay 30 "${crest[@]}" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab \
        space ctrl+shift+p
    xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
    local profile=$xs_window
    xdo windowactivate --sync "$profile"
    xdo key --delay 30 alt+v "$1" alt+a alt+c "${setting_out[@]}"
    shot "$profile" "$2"
    xdo key --delay 30 alt+d alt+m 2 0 0 0 0
    shot "$profile" "${2%.png}-design.png"
    echo "$2, ${2%.png}-design.png: $(identify -format '%wx%h' "$2")"
    xs_stop "$xs_app_pid"
}
# shoot_design FILE WAY KEYS...: at 1366 x 768, the crest at 5 m with stations
# from 1+000, the Design tab's option WAY chosen by its key and KEYS typed
# there: each way of designing. An option's key clicks it only a tenth of a
# second later, as a click on it would, and until then its boxes are hidden.
mapfile -t crest5 < <(for value in 15748031.496 98425.19685 0.859372 -1.432096 16; do
    xs_key_names "$value"
    echo Tab
done)
shoot_design() {
    local file=$1
    xs_start "$scratch/${file##*/}" 1366x768x24
    xs_start_pendrio "$scratch/pendrio-design.log" "$program"
    xdo windowactivate --sync "$xs_window"
    xdo key --delay 30 "${crest5[@]}" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab \
        space ctrl+shift+p
    xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
    local profile=$xs_window
    xdo windowactivate --sync "$profile"
    mapfile -t start < <(xs_key_names 1+000)
    xdo key --delay 30 alt+a alt+c "${start[@]}" Tab alt+d "$2"
    sleep 0.5
    xdo key --delay 30 "${@:3}"
    shot "$profile" "$file"
    echo "$file: $(identify -format '%wx%h' "$file")"
    xs_stop "$xs_app_pid"
}
shoot_design "$out/design-radius.png" alt+r alt+m 2 0 0 0 0 Tab
shoot_design "$out/design-k.png" alt+k alt+l 1 0 0 Tab
shoot_design "$out/design-speed.png" alt+p alt+t 1 6 0 Tab 0 period 2 2 Tab
shoot_design "$out/design-point.png" alt+o alt+g 1 plus 2 0 0 Tab 7 Tab
shoot_design "$out/design-point-refused.png" alt+o alt+g 1 plus 2 0 0 Tab 9 Tab
shoot_units m "$out/units-metres.png"
shoot_units t "$out/units-track-units.png"
shoot_desk 1024x768 1 "$out/desk-1024x768.png"
shoot_desk 1366x768 1 "$out/desk-1366x768.png"
shoot_desk 2732x1536 2 "$out/desk-scale2.png"
