#!/usr/bin/env bash
# End to end on a real X server and window manager: starts Pendrio under Xvfb
# and openbox and uses it with real key presses and mouse clicks. It types
# 3 sections, calculates and steps through them, then ticks "Always on top"
# and checks that the window manager keeps the window above another one
# without moving or resizing it, and that clearing it lets the other window
# cover it again.
#
#   e2e-real-window.sh PROGRAM SCRATCH_DIR ARTEFACT_DIR
#
# Logs and screenshots stay in SCRATCH_DIR; the final screenshot of the window
# is saved as ARTEFACT_DIR/e2e-window.png.
set -euo pipefail

program=$1
scratch=$2
artefacts=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=x-session.sh
. "$here/x-session.sh"
xs_require "${XS_X_TOOLS[@]}" xclip:xclip

xs_budget 50
rm -rf "$scratch"
mkdir -p "$scratch" "$artefacts"
xs_start "$scratch"
echo "== display $DISPLAY"

xs_start_pendrio "$scratch/pendrio.log" "$program"
window=$xs_window
read -r win_x win_y win_w win_h < <(xs_geometry "$window")
echo "== window $window at ${win_x},${win_y}, ${win_w}x${win_h}"

# ---- Places of the controls ---------------------------------------------------
# The layout is drawn in twips on a 4695 x 4935 client area and scaled evenly,
# so a control's place follows from its twips and the window's size.
# Controls in the frame are given in window twips (the frame is at 120, 1920).
point() { # point LEFT TOP WIDTH HEIGHT [XFRACTION%]: screen point inside the control
    local fraction=${5:-50}
    echo $((win_x + (100 * $1 + fraction * $3) * win_w / (100 * 4695))) \
        $((win_y + (2 * $2 + $4) * win_h / (2 * 4935)))
}
region() { # region LEFT TOP WIDTH HEIGHT: the control's crop geometry in the window
    local x=$(($1 * win_w / 4695)) y=$(($2 * win_h / 4935))
    echo "$((($1 + $3) * win_w / 4695 - x))x$((($2 + $4) * win_h / 4935 - y))+$x+$y"
}
on_top_box=(3240 160 1335 195)
sections_box=(240 1560 1575 285)
calculate=(3240 1200 1335 615)
next=(2880 4320 1575 375)
section_length=(240 2160 1575 285)
section_number=(2160 4360 375 285)

# --sync waits for the pointer to move, which it never does if it is there already.
move_to() { # move_to X Y
    [ "$(xdo getmouselocation --shell | sed -n 's/^[XY]=//p' | paste -sd' ')" = "$1 $2" ] ||
        xdo mousemove --sync "$1" "$2"
}
click() { # click LEFT TOP WIDTH HEIGHT [XFRACTION%]
    local x y
    read -r x y < <(point "$@")
    move_to "$x" "$y"
    xdo click 1
}
region_hash() { # region_hash LEFT TOP WIDTH HEIGHT: checksum of what the control shows
    local shot
    shot=$scratch/shot-$(date +%s%N).png
    import -window "$window" "$shot"
    convert "$shot" -crop "$(region "$@")" +repage rgb:- | md5sum | cut -c1-32
}
# Waits for the control to show something other than BEFORE; prints the new checksum.
changed_from() { # changed_from BEFORE LEFT TOP WIDTH HEIGHT
    xs_until 5 "change of the control at $*" shows_other "$@" && echo "$shown"
}
shows_other() { shown=$(region_hash "${@:2}") && [ "$shown" != "$1" ]; }
# A pause for what shows nothing to wait for: a click or a raise that must
# change nothing, and Qt repainting once the pointer has left.
settle() { sleep 0.5; }

# ---- Typing and calculating ---------------------------------------------------
echo "== type 3 into 'No. of sections', Calculate, step through the sections"
length_shown=$(region_hash "${section_length[@]}")
number_1=$(region_hash "${section_number[@]}")
click "${sections_box[@]}"
xdo key --clearmodifiers ctrl+a
xdo type --delay 50 3
xdo key Tab
click "${calculate[@]}"
changed_from "$length_shown" "${section_length[@]}" >/dev/null ||
    fail "the section length did not change after typing 3 sections and Calculate"
click "${next[@]}"
number_2=$(changed_from "$number_1" "${section_number[@]}") || fail "Next did not change the section number"
click "${next[@]}"
number_3=$(changed_from "$number_2" "${section_number[@]}") || fail "the second Next did not change the section number"
[ "$number_3" != "$number_1" ] || fail "the second Next went back to section 1"
# Section 3 of 3 is the last: Next changes nothing, so exactly 3 were typed.
click "${next[@]}"
settle
[ "$(region_hash "${section_number[@]}")" = "$number_3" ] || fail "Next went past section 3 of 3"
echo "   section number changed twice and then stayed: 3 sections"

# ---- Always on top --------------------------------------------------------------
has_above() { xprop -id "$window" _NET_WM_STATE | grep -q '_NET_WM_STATE_ABOVE'; }
above_is() { # above_is yes|no
    xwininfo -id "$window" >/dev/null 2>&1 ||
        fail "Pendrio's window $window is gone: it was destroyed or re-created"
    if has_above; then [ "$1" = yes ]; else [ "$1" = no ]; fi
}
wait_above() { # wait_above yes|no
    xs_until 5 "_NET_WM_STATE_ABOVE: $1" above_is "$1" || { xprop -id "$window" _NET_WM_STATE >&2; return 1; }
}
same_place() {
    local now
    now=$(xs_geometry "$window")
    [ "$now" = "$win_x $win_y $win_w $win_h" ] || fail "$1: the window moved or resized to $now"
    [ "$(xdo search --onlyvisible --name "^${PENDRIO_WINDOW_TITLE}\$" | head -n 1)" = "$window" ] ||
        fail "$1: the window was re-created or hidden"
}
# Which of the two windows is seen at a point where both lie, by the window
# manager's stacking list and by the X server itself (the window under the pointer).
stacking_place() { # stacking_place WIN: its place in the list, bottom first
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr -d ' ' | tr ',' '\n' |
        grep -nx "$(printf '0x%x' "$1")" | cut -d: -f1 | grep . ||
        fail "window $1 is not in _NET_CLIENT_LIST_STACKING"
}
top_of() { # top_of WIN_A WIN_B X Y: prints the one stacked higher, or fails if they disagree
    local a=$1 b=$2 under by_list=$1 by_pointer=
    [ "$(stacking_place "$b")" -gt "$(stacking_place "$a")" ] && by_list=$b
    move_to "$3" "$4"
    under=$(xdo getmouselocation --shell | sed -n 's/^WINDOW=//p')
    [ "$under" = "$(xs_toplevel "$a")" ] && by_pointer=$a
    [ "$under" = "$(xs_toplevel "$b")" ] && by_pointer=$b
    [ "$by_list" = "$by_pointer" ] ||
        fail "stacking list says $by_list is on top, the pointer finds $under"
    echo "$by_list"
}
raise() {
    xdo windowactivate --sync "$1"
    xdo windowraise "$1"
    settle
    [ "$(xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //')" = "$(printf '0x%x' "$1")" ] ||
        fail "window $1 did not become active"
}

echo "== tick 'Always on top' with a click"
wait_above no || fail "the window starts above the others"
click "${on_top_box[@]}" 30
wait_above yes || fail "the window did not get _NET_WM_STATE_ABOVE after ticking 'Always on top'"
same_place "after ticking"
echo "   _NET_WM_STATE_ABOVE set, position and size unchanged"

# Another window, over the middle of Pendrio's, clear of its check box.
cover_w=$((win_w / 2)) cover_h=$((win_h / 3))
xs_run "$scratch/xmessage.log" xmessage -name pendrio-cover \
    -geometry "${cover_w}x${cover_h}+$((win_x + win_w / 4))+$((win_y + win_h / 3))" "covering window"
cover_pid=$xs_last_pid
cover_shown() { cover=$(timeout 2 xdotool search --onlyvisible --classname '^pendrio-cover$' 2>/dev/null | head -n 1) && [ -n "$cover" ]; }
xs_until -p "$cover_pid" 5 "covering window" cover_shown || { xs_show_log "$scratch/xmessage.log"; exit 1; }
probe_x=$((win_x + win_w / 2)) probe_y=$((win_y + win_h / 2))

raise "$cover"
top=$(top_of "$window" "$cover" $probe_x $probe_y)
[ "$top" = "$window" ] ||
    fail "another window covers Pendrio's while 'Always on top' is ticked"
same_place "with another window raised"
echo "   another window raised and activated stays below"

echo "== clear 'Always on top' with a click"
click "${on_top_box[@]}" 30
wait_above no || fail "_NET_WM_STATE_ABOVE stayed after clearing 'Always on top'"
same_place "after clearing"
raise "$cover"
top=$(top_of "$window" "$cover" $probe_x $probe_y)
[ "$top" = "$cover" ] ||
    fail "another window cannot cover Pendrio's after 'Always on top' was cleared"
echo "   _NET_WM_STATE_ABOVE gone, another window covers it again"
xs_stop "$cover_pid"

xdo windowactivate --sync "$window"
xdo mousemove 0 0
settle
import -window "$window" "$artefacts/e2e-window.png"
echo "== screenshot: $artefacts/e2e-window.png"
kill -0 "$xs_app_pid" 2>/dev/null || fail "Pendrio ended during the test"
echo "PASS: typing, Calculate, Next and 'Always on top' work on a real window manager"
