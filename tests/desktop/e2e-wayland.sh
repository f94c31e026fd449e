#!/usr/bin/env bash
# Pendrio in a Wayland session, as GNOME and KDE Plasma start it: weston's
# headless back-end with XWayland, XDG_SESSION_TYPE=wayland, WAYLAND_DISPLAY
# and DISPLAY all set.
#  1. With no platform chosen, Pendrio runs on the X display (where "Always on
#     top" works): xdotool finds its window there.
#  2. With QT_QPA_PLATFORM=wayland (the user's choice, kept), it runs as a
#     Wayland client, and "Always on top" is disabled with a tooltip that says
#     why: read through AT-SPI, as a screen reader would.
#
#   e2e-wayland.sh PROGRAM SCRATCH_DIR
set -euo pipefail

program=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=x-session.sh
. "$here/x-session.sh"
xs_require weston:weston Xwayland:xwayland dbus-run-session:dbus
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || xs_require pyatspi:python3-pyatspi
# shellcheck source-path=SCRIPTDIR source=atspi-session.sh
. "$here/atspi-session.sh"
as_own_dbus "$0" "$@"

xs_budget 50
rm -rf "$scratch"
mkdir -p "$scratch/runtime" "$scratch/home"
chmod 700 "$scratch/runtime"
export HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/runtime
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# The socket lives in the private XDG_RUNTIME_DIR. XWayland takes the first
# free X display number, claimed atomically by its lock file and socket as
# Xvfb's is, and weston reports it once it listens there.
socket=pendrio-wayland
xs_run -g "$scratch/weston.log" weston --backend=headless-backend.so --xwayland \
    --socket="$socket" --idle-time=0
weston_ready() {
    display=$(sed -n 's/.*xserver listening on display \(:[0-9][0-9]*\).*/\1/p' "$scratch/weston.log")
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && [ -n "$display" ]
}
xs_until -p "$xs_last_pid" 10 "weston's Wayland socket and XWayland's display" weston_ready ||
    { xs_show_log "$scratch/weston.log"; exit 1; }
export XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=$socket DISPLAY=$display
echo "== weston: WAYLAND_DISPLAY=$WAYLAND_DISPLAY, XWayland DISPLAY=$DISPLAY"
as_start "$scratch"

echo "== no platform chosen: Pendrio's window is on the X display"
xs_start_pendrio "$scratch/pendrio-default.log" "$program" -u QT_QPA_PLATFORM \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 || fail "Pendrio's window is not on XWayland's display"
echo "   window $xs_window of process $xs_app_pid on $DISPLAY"
xs_stop "$xs_app_pid"

echo "== QT_QPA_PLATFORM=wayland: 'Always on top' disabled, and says why"
# Nothing to wait for on the X display: the check waits for it on the accessibility bus.
xs_run "$scratch/pendrio-wayland.log" xs_exec_pendrio "$program" QT_QPA_PLATFORM=wayland \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
app_pid=$xs_last_pid
as_python "$here/atspi/check-window.py" "$app_pid" on-top-unavailable ||
    { xs_show_log "$scratch/pendrio-wayland.log"; fail "'Always on top' on Wayland"; }
window=$(timeout 5 xdotool search --pid "$app_pid" --name "^$PENDRIO_WINDOW_TITLE\$" 2>/dev/null | head -n 1) || true
[ -z "$window" ] || fail "with QT_QPA_PLATFORM=wayland the window is on the X display after all"
kill -0 "$app_pid" 2>/dev/null || fail "Pendrio ended during the test"
echo "PASS: on the X display by default in a Wayland session; on Wayland itself 'Always on top' says it cannot"
