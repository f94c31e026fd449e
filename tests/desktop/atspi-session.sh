# shellcheck shell=bash
# shellcheck disable=SC2154 # xs_last_pid comes from x-session.sh
# The accessibility bus for a test session: what a screen reader talks to.
# Source it after x-session.sh, in a script that runs under a D-Bus session
# of its own (as_own_dbus re-runs the script under dbus-run-session).
#
#   as_own_dbus "$0" "$@"      at the top of the script: runs it again under a
#                              private D-Bus session bus unless it already is
#   as_start SCRATCH           starts at-spi-bus-launcher (the accessibility bus
#                              and its registry), ended with the session
#   as_python SCRIPT ARGS...   runs a check with Debian's python3 and pyatspi
# A Qt program joins the accessibility bus at start-up with
# QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 (no screen reader has to ask for it).

as_own_dbus() {
    [ -z "${PENDRIO_TEST_OWN_DBUS:-}" ] || return 0
    command -v dbus-run-session >/dev/null || fail "dbus-run-session is missing (package dbus)"
    # A bus that starts no services on demand: what the test needs, it starts.
    local config
    config=$(mktemp)
    cat >"$config" <<'XML'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
XML
    local status=0
    PENDRIO_TEST_OWN_DBUS=1 dbus-run-session --config-file="$config" -- "$@" || status=$?
    rm -f "$config"
    exit "$status"
}

as_start() {
    local scratch=$1 launcher=
    for launcher in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher ""; do
        [ -z "$launcher" ] || [ -x "$launcher" ] && break
    done
    [ -n "$launcher" ] || fail "at-spi-bus-launcher not found (package at-spi2-core)"
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no D-Bus session bus"
    xs_run -g "$scratch/at-spi-bus-launcher.log" "$launcher" --launch-immediately
    xs_until -p "$xs_last_pid" 10 "accessibility bus (org.a11y.Bus on the session bus)" as_bus_ready ||
        { xs_show_log "$scratch/at-spi-bus-launcher.log"; exit 1; }
}
# Asked of the bus itself, which starts nothing.
as_bus_ready() {
    timeout 2 dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}

as_python() {
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
        fail "Debian's /usr/bin/python3 with pyatspi is needed (package python3-pyatspi)"
    # Not the python first on PATH: pyatspi is Debian's, for Debian's python.
    timeout 30 /usr/bin/python3 "$@"
}

