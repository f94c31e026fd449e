#!/usr/bin/env bash
# The main window through AT-SPI, the interface a screen reader (Orca) uses:
# Pendrio under Xvfb and openbox, on a private D-Bus session with its own
# accessibility bus, checked by atspi/check-window.py: the window is a frame
# with its title, every reachable control has its role and name and the hidden
# options are not among them, values typed through EditableText are taken,
# Calculate and Next work through their Press actions, and a listener hears
# the section number change. Then the profile window, opened by its shortcut:
# a frame too, its plot a chart whose description names the highlighted
# section, the curve facts readable, and the section table's cells.
#
#   e2e-atspi.sh PROGRAM SCRATCH_DIR
set -euo pipefail

program=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=x-session.sh
. "$here/x-session.sh"
xs_require "${XS_X_TOOLS[@]}" dbus-run-session:dbus
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || xs_require pyatspi:python3-pyatspi
# shellcheck source-path=SCRIPTDIR source=atspi-session.sh
. "$here/atspi-session.sh"
as_own_dbus "$0" "$@"

xs_budget 50
rm -rf "$scratch"
mkdir -p "$scratch"
# A window manager, or the window never becomes active and the focus that
# AT-SPI asks for goes nowhere.
xs_start "$scratch"
as_start "$scratch"
echo "== display $DISPLAY, D-Bus $DBUS_SESSION_BUS_ADDRESS"

xs_start_pendrio "$scratch/pendrio.log" "$program" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

echo "== the main window through AT-SPI"
as_python "$here/atspi/check-window.py" "$xs_app_pid" main-window ||
    { xs_show_log "$scratch/pendrio.log"; fail "the main window as a screen reader sees it"; }
kill -0 "$xs_app_pid" 2>/dev/null || fail "Pendrio ended during the test"

echo "== the profile window through AT-SPI"
timeout 10 xdotool windowactivate --sync "$xs_window" key --clearmodifiers ctrl+shift+p ||
    fail "could not press Ctrl+Shift+P in the main window"
as_python "$here/atspi/check-window.py" "$xs_app_pid" profile-window ||
    { xs_show_log "$scratch/pendrio.log"; fail "the profile window as a screen reader sees it"; }
kill -0 "$xs_app_pid" 2>/dev/null || fail "Pendrio ended during the test"
echo "PASS: both windows are frames whose controls a screen reader can read and use"
