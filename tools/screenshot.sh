#!/usr/bin/env bash
# Takes the screenshots of Pendrio's window for the documentation: the window
# with its frame as openbox draws it on a virtual X server, at the normal scale
# (screenshot.png) and at QT_SCALE_FACTOR=2 (screenshot-scale2.png); and the
# profile window beside it for the default profile (profile-default.png) and
# for a 16-section crest, +1.5 % to -2.5 % over 800 m (profile-crest.png).
#
#   tools/screenshot.sh [OUT_DIR]      (default: docs/)
#
# The program is build/app/pendrio, or the one named by $PENDRIO. Xvfb,
# openbox and the program are all ended when the script ends.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs}
program=${PENDRIO:-$root/build/app/pendrio}
title="Pendrio V0.0"
[ -x "$program" ] || { echo "no program at $program: build first (tools/build.sh)" >&2; exit 1; }
command -v import >/dev/null || { echo "ImageMagick's import is missing: run tools/ensure-packages.sh" >&2; exit 1; }
# shellcheck source-path=SCRIPTDIR source=../tests/desktop/x-session.sh
. "$root/tests/desktop/x-session.sh"

mkdir -p "$out"
out=$(cd "$out" && pwd)
scratch=$(mktemp -d)
xs_remove_on_exit=$scratch
xs_start "$scratch" 2560x1440x24

shoot() { # shoot SCALE FILE
    xs_run "$scratch/pendrio-$1.log" env -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_ENABLE_HIGHDPI_SCALING QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$1" LC_ALL=C.UTF-8 \
        LANGUAGE= "$program"
    local pid=$xs_last_pid window frame
    xs_find_window "$pid" "$title" || { xs_show_log "$scratch/pendrio-$1.log"; exit 1; }
    window=$xs_window
    frame=$(xs_toplevel "$window")
    xdotool mousemove 0 0
    sleep 1 # the first paint, and openbox drawing the frame active
    import -window "$frame" "$2"
    echo "$2: $(identify -format '%wx%h' "$2") (client area $(xs_geometry "$window" | cut -d' ' -f3-4 | tr ' ' x))"
    xs_stop "$pid"
}
# shoot_profile FILE [KEYS...]: types KEYS into the main window (from the
# "Length" box), opens the profile window with Ctrl+Shift+P and shoots it.
shoot_profile() {
    local file=$1
    shift
    xs_run "$scratch/pendrio-profile.log" env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANGUAGE= "$program"
    local pid=$xs_last_pid
    xs_find_window "$pid" "$title" || { xs_show_log "$scratch/pendrio-profile.log"; exit 1; }
    xdotool windowactivate --sync "$xs_window"
    [ $# -eq 0 ] || xdotool key --delay 30 "$@"
    xdotool key --delay 30 ctrl+shift+p
    xs_find_window "$pid" "Profile – $title" || { xs_show_log "$scratch/pendrio-profile.log"; exit 1; }
    xdotool mousemove 0 0
    sleep 1
    import -window "$(xs_toplevel "$xs_window")" "$file"
    echo "$file: $(identify -format '%wx%h' "$file")"
    xs_stop "$pid"
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
