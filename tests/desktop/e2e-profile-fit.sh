#!/usr/bin/env bash
# The profile window on a real screen with a real window manager (Xvfb and
# openbox): at each moment that could change its size (opening, a calculation
# with long facts, pointing at the plot, eight steps with "Next") it lies
# wholly on the screen, its minimum size (from WM_NORMAL_HINTS) stays small
# and the same, and where the screen has room beside, above or below the
# main window for that minimum, the two do not overlap; beside the main
# window it is at least 600 px tall. The pointer's readout goes with the
# pointer: after Ctrl+W, the pointer moved to the main window, Ctrl+Shift+P
# and a step there, the plot shows none. With "Always on top" ticked, the
# profile window's save dialog lies above the main window in the window
# manager's stacking order. A check that fails leaves a screenshot in
# SCRATCH_DIR.
#
#   e2e-profile-fit.sh PROGRAM SCRATCH_DIR WxH SCALE [centre]
#
# With "centre" the main window is moved to the middle of the screen first.
set -euo pipefail

program=$1
scratch=$2
screen=$3
scale=$4
centre=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=x-session.sh
. "$here/x-session.sh"
xs_require "${XS_X_TOOLS[@]}"

xs_budget 50
rm -rf "$scratch"
mkdir -p "$scratch"
xs_start "$scratch" "${screen}x24"
read -r screen_w screen_h < <(echo "${screen/x/ }")

xs_start_pendrio "$scratch/pendrio.log" "$program" QT_SCALE_FACTOR="$scale"
main_window=$xs_window

keys() { xdo key --clearmodifiers --delay 30 "$@"; }
if [ "$centre" = centre ]; then
    read -r _ _ fw fh < <(xs_geometry "$(xs_toplevel "$main_window")")
    cx=$(((screen_w - fw) / 2)) cy=$(((screen_h - fh) / 2))
    xdo windowmove "$(xs_toplevel "$main_window")" "$cx" "$cy"
    # Qt's windows have static gravity: openbox puts the client area where asked.
    moved() { [ "$(xs_geometry "$main_window" | cut -d' ' -f1-2)" = "$cx $cy" ]; }
    xs_until 5 "main window at $cx,$cy" moved || exit 1
fi
read -r mx my mw mh < <(xs_geometry "$(xs_toplevel "$main_window")")
echo "== screen ${screen} at scale $scale; main window frame at $mx,$my ${mw}x$mh"

# A failed check leaves a screenshot of the whole screen beside the logs.
miss() {
    timeout 10 import -window root "$scratch/failed.png" 2>/dev/null || true
    fail "$* (screen in $scratch/failed.png)"
}

min_size= # of the first look: it must never change
profile_window=
check() { # check MOMENT
    sleep 0.5 # the window manager acts on a new size or hint, if any: nothing shows if none
    local frame px py pw ph cw ch min gap=8
    frame=$(xs_toplevel "$profile_window")
    read -r px py pw ph < <(xs_geometry "$frame")
    read -r _ _ cw ch < <(xs_geometry "$profile_window")
    min=$(xprop -id "$profile_window" WM_NORMAL_HINTS |
        sed -n 's/.*program specified minimum size: \([0-9]*\) by \([0-9]*\).*/\1 \2/p')
    echo "== $1: profile window frame at $px,$py ${pw}x$ph, minimum $min"
    [ -n "$min" ] || miss "$1: no minimum size in WM_NORMAL_HINTS"
    [ -z "$min_size" ] || [ "$min" = "$min_size" ] || miss "$1: minimum size $min, was $min_size"
    min_size=$min
    read -r min_w min_h <<<"$min"
    ((min_w <= 480 * scale && min_h <= 360 * scale)) || miss "$1: minimum size $min too large"
    ((px >= 0 && py >= 0 && px + pw <= screen_w && py + ph <= screen_h)) ||
        miss "$1: the profile window runs off the ${screen} screen"
    # The frame at the minimum size: the decoration is what the frame adds now.
    local fw=$((min_w + pw - cw)) fh=$((min_h + ph - ch))
    if ((screen_w - (mx + mw) - gap >= fw || mx - gap >= fw ||
        screen_h - (my + mh) - gap >= fh || my - gap >= fh)); then
        ((px >= mx + mw || px + pw <= mx || py >= my + mh || py + ph <= my)) ||
            miss "$1: the profile window covers the main window although there is room"
    fi
    if ((px >= mx + mw || px + pw <= mx)); then
        ((ph >= 600)) || miss "$1: beside the main window, but only $ph px tall"
    fi
}

# How many colours the plot's first line has, on which only the pointer's
# readout is drawn: 1 without it. In the right half of the window (the main
# window may cover its left); the plot is the first white in that column.
readout_colours() {
    local x=$((pw / 2)) top
    top=$(timeout 10 import -window "$profile_window" -crop "1x$((200 * scale))+$x+0" +repage \
        txt:- | awk -F'[,:]' '/#FFFFFF/ { print $2; exit }')
    [ -n "$top" ] || miss "no plot in the profile window"
    timeout 10 import -window "$profile_window" \
        -crop "$((pw / 2 - 20 * scale))x$((12 * scale))+$x+$((top + 3 * scale))" +repage \
        -format %k info:
}
readout_shown() { [ "$(readout_colours)" -gt 1 ]; }
readout_gone() { [ "$(readout_colours)" -eq 1 ]; }

xdo windowactivate --sync "$main_window"
keys ctrl+shift+p
xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
profile_window=$xs_window
check opened

# Long facts: large heights with many digits, a steep crest, 16 sections;
# then back with Shift+Tab to "Calculate" and press it.
xdo windowactivate --sync "$main_window"
mapfile -t inputs < <(for value in 123456789.123456 -98765432.1234567 0.859372 -1.432096 16; do
    xs_key_names "$value"
    echo Tab
done)
keys ctrl+a "${inputs[@]}" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
check calculated

read -r px py pw ph < <(xs_geometry "$profile_window")
xdo mousemove $((px + pw / 2)) $((py + ph / 4))
xdo mousemove --sync $((px + pw / 2 + 7)) $((py + ph / 4 + 3))
check hovered

# From "Calculate", Tab runs through the five boxes, "Always on top" and
# "Previous" to "Next".
xdo windowactivate --sync "$main_window"
keys Tab Tab Tab Tab Tab Tab Tab Tab space space space space space space space space
check stepped

# The readout leaves with the pointer, also when the window goes meanwhile.
read -r px py pw ph < <(xs_geometry "$profile_window")
xdo mousemove $((px + pw * 3 / 4)) $((py + ph / 5))
xdo mousemove --sync $((px + pw * 3 / 4 + 5)) $((py + ph / 5 + 2))
xs_until 5 "the pointer's readout over the plot" readout_shown || miss "no readout over the plot"
xdo windowactivate --sync "$profile_window"
keys ctrl+w
read -r mx my mw mh < <(xs_geometry "$main_window")
xdo mousemove --sync $((mx + mw / 2)) $((my + mh / 2))
xdo windowactivate --sync "$main_window"
keys ctrl+shift+p
xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
profile_window=$xs_window
# "Next", at its place in the layout (twips of a 4695 x 4935 client area).
xdo mousemove --sync $((mx + (2880 + 1575 / 2) * mw / 4695)) $((my + (4320 + 375 / 2) * mh / 4935))
xdo click 1
xs_until 5 "the readout gone with the pointer" readout_gone || miss "the readout outlived the pointer"

# "Always on top" keeps both windows on top, and the main window covers no
# dialog of the profile window: the window manager stacks the save dialog
# above it, also once it has been closed and opened again. The moment is left as on-top-dialog.png.
on_top() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
stacked_above() { # stacked_above UPPER LOWER, in _NET_CLIENT_LIST_STACKING (bottom first)
    local i=0 upper=-1 lower=-1 id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/^.*# //; s/,/ /g'); do
        ((id == $1)) && upper=$i
        ((id == $2)) && lower=$i
        i=$((i + 1))
    done
    ((lower >= 0 && upper > lower))
}
read -r mx my mw mh < <(xs_geometry "$main_window")
xdo mousemove --sync $((mx + (3240 + 120) * mw / 4695)) $((my + (160 + 195 / 2) * mh / 4935))
xdo click 1
xs_until 5 "the main window kept on top" on_top "$main_window" || miss "Always on top did nothing"
xs_until 5 "the profile window kept on top" on_top "$profile_window" ||
    miss "the profile window is not kept on top with the main window"
xdo windowactivate --sync "$profile_window"
keys ctrl+w
xdo windowactivate --sync "$main_window"
keys ctrl+shift+p
xs_pendrio_window "Profile – $PENDRIO_WINDOW_TITLE"
profile_window=$xs_window
xdo windowactivate --sync "$profile_window"
keys ctrl+s
xs_pendrio_window "Save sections as CSV" || miss "no save dialog"
save_dialog=$xs_window
xs_until 5 "the save dialog above the main window" stacked_above "$save_dialog" "$main_window" ||
    miss "the main window lies above the profile window's save dialog"
timeout 10 import -window root "$scratch/on-top-dialog.png" || true
keys Escape
echo "PASS"
