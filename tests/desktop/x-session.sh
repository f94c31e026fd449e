# shellcheck shell=bash
# A private X session for scripts that drive Pendrio's real window: Xvfb on a
# display number it picks itself (so parallel runs never collide), openbox as
# the window manager, and the processes started in it, all ended on exit,
# whether the script succeeds or fails.
#
# Source it from a bash script running with `set -euo pipefail`, then:
#   xs_budget SECONDS          ends the script, and all it started, after SECONDS
#   xs_start SCRATCH [WxHxD]   Xvfb and openbox; exports DISPLAY
#   xs_run [-g] LOG CMD...     starts CMD in the session; sets xs_last_pid; with
#                              -g in a process group of its own, all ended with it
#   xs_wait PID                waits for PID (a signal still ends the script at
#                              once) and returns its status
#   xs_until [-p PID] SECONDS WHAT CMD...
#                              runs CMD until it succeeds; after SECONDS, or once
#                              PID has ended, says what it waited for and returns 1
#   xs_find_window PID TITLE   waits for PID's visible window and sets xs_window
#                              to its id; says why and returns 1 if none comes
#   xs_geometry WIN            "x y width height" of WIN's client area
#   xs_toplevel WIN            the window under the root holding WIN (its frame)
#   xs_stop PID                ends one process (or its -g group) early: TERM, then KILL
#   xs_show_log FILE           prints the end of a log to stderr
#   xs_key_names TEXT          the xdotool key names that type TEXT, one a line
#   xdo ARGS...                xdotool ARGS, bounded; fails the script if it fails
#   fail MESSAGE               prints FAIL: MESSAGE and exits 1
#   xs_require TOOL[:PACKAGE]...
#                              exits with 77, which CTest reports as skipped,
#                              unless every TOOL is on the PATH (a build machine
#                              may lack the desktop); XS_X_TOOLS are the session's
# For Pendrio, whose main window CMake titles $PENDRIO_WINDOW_TITLE (a SETTING is
# VARIABLE=VALUE, or -u VARIABLE):
#   xs_start_pendrio LOG PROGRAM [SETTING...]
#                              starts PROGRAM as xs_exec_pendrio and waits for its
#                              main window; sets xs_app_pid, xs_app_log, xs_window
#   xs_pendrio_window TITLE    waits for xs_app_pid's window TITLE; sets xs_window
#                              (both show xs_app_log and return 1 if none comes)
#   xs_exec_pendrio PROGRAM [SETTING...]  for xs_run: becomes PROGRAM in the tests'
#                              environment (xcb, C.UTF-8, scale 1) with the SETTINGs
# Setting xs_remove_on_exit to a directory deletes it after the cleanup.
# xs_run and xs_wait need no session: a script may run other jobs before xs_start.

xs_pids=() # what xs_run started, oldest first; -PID for a process group
xs_scratch=
xs_last_pid=
xs_window=
xs_app_pid= # the Pendrio that xs_start_pendrio started, and its log
xs_app_log=
xs_remove_on_exit= # a directory to delete once everything has ended

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

xs_show_log() {
    [ -s "$1" ] && { echo "--- $1" >&2; tail -n 40 "$1" >&2; echo "---" >&2; }
    return 0
}

xs_stop() {
    local pid=$1 target=$1
    # A group (xs_run -g) may outlive its leader: the build cpack runs does.
    [[ " ${xs_pids[*]} " != *" -$pid "* ]] || target=-$pid
    kill -0 -- "$target" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    kill -- "$target" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 -- "$target" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL -- "$target" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Ends what was started, the last first, so that Xvfb goes last.
xs_cleanup() {
    local status=$? i
    trap - EXIT INT TERM HUP
    for ((i = ${#xs_pids[@]} - 1; i >= 0; i--)); do
        xs_stop "${xs_pids[i]#-}"
    done
    [ -z "$xs_remove_on_exit" ] || rm -rf "$xs_remove_on_exit"
    exit "$status"
}
trap xs_cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# -g is for jobs that start processes of their own: in a group of its own, the
# job and its children are ended together, and no Ctrl-C reaches them before
# the cleanup does.
xs_run() {
    local group=
    [ "$1" != -g ] || { group=-; shift; }
    local log=$1
    shift
    if [ -n "$group" ]; then
        setsid "$@" >"$log" 2>&1 &
    else
        "$@" >"$log" 2>&1 &
    fi
    xs_last_pid=$!
    xs_pids+=("$group$xs_last_pid")
}

# Bash runs a trap only once a command in the foreground has ended, but it
# interrupts `wait`: a job waited for here cannot hold off a signal. Once it
# has ended it is forgotten, so that the cleanup never signals its reused pid.
xs_wait() {
    local pid=$1 status=0 i
    wait "$pid" || status=$?
    for i in "${!xs_pids[@]}"; do
        [ "${xs_pids[i]#-}" != "$pid" ] || unset 'xs_pids[i]'
    done
    xs_pids=("${xs_pids[@]}")
    return "$status"
}

# The clock, not a count of tries, bounds the wait: a slow CMD cannot stretch it.
xs_until() {
    local pid=
    [ "$1" != -p ] || { pid=$2; shift 2; }
    local seconds=$1 what=$2 start=${EPOCHREALTIME//[!0-9]/}
    shift 2
    until "$@"; do
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            echo "FAIL: process $pid ended before $what" >&2
            return 1
        elif ((${EPOCHREALTIME//[!0-9]/} - start >= seconds * 1000000)); then
            echo "FAIL: no $what within $seconds s" >&2
            return 1
        fi
        sleep 0.1
    done
}

# At its TIMEOUT ctest kills the script alone, which would leave the X server
# and the rest running; ending the script itself runs its cleanup.
# What xs_start and the scripts' checks run, with the Debian packages that hold them.
XS_X_TOOLS=(Xvfb:xvfb openbox:openbox xdotool:xdotool xprop:x11-utils xwininfo:x11-utils
    import:imagemagick)
xs_require() {
    local entry missing=()
    for entry in "$@"; do
        command -v "${entry%%:*}" >/dev/null || missing+=("${entry%%:*} (${entry#*:})")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "SKIP: this test needs what is not installed: ${missing[*]}"
    exit 77
}

xs_budget() {
    # shellcheck disable=SC2016 # expanded by the inner bash
    setsid bash -c 'sleep "$1"; echo "FAIL: still running after $1 s" >&2; kill -TERM "$2"' \
        budget "$1" $$ &
    xs_pids+=("-$!")
}

xs_start() {
    xs_scratch=$1
    local screen=${2:-1280x1024x24}
    mkdir -p "$xs_scratch"
    rm -f "$xs_scratch/display"
    # Xvfb takes the first free display number, atomically, and writes it to
    # fd 3 once it is ready: two sessions started at once never share one.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$xs_scratch/display" \
        >"$xs_scratch/xvfb.log" 2>&1 &
    xs_pids+=("$!")
    xs_until -p $! 10 "display number from Xvfb" grep -qs '^[0-9][0-9]*$' "$xs_scratch/display" ||
        { xs_show_log "$xs_scratch/xvfb.log"; exit 1; }
    DISPLAY=:$(cat "$xs_scratch/display")
    export DISPLAY
    mkdir -p "$xs_scratch/runtime" "$xs_scratch/home"
    chmod 700 "$xs_scratch/runtime"
    export HOME=$xs_scratch/home XDG_RUNTIME_DIR=$xs_scratch/runtime
    unset WAYLAND_DISPLAY

    # Ready is when openbox runs its start-up command, not when it first marks
    # the root window: a window mapped before it has finished starting may
    # never be managed, and stays unmapped.
    rm -f "$xs_scratch/openbox-ready"
    xs_run "$xs_scratch/openbox.log" openbox --sm-disable \
        --startup "touch '$xs_scratch/openbox-ready'"
    xs_until -p "$xs_last_pid" 10 "openbox managing display $DISPLAY" xs_openbox_ready ||
        { xs_show_log "$xs_scratch/openbox.log"; exit 1; }
}
xs_openbox_ready() {
    [ -e "$xs_scratch/openbox-ready" ] &&
        timeout 2 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# It waits in the script's own shell, not in a $(...) subshell: bash defers
# a trap until such a subshell ends.
xs_find_window() {
    local pid=$1 title=$2 window regex status
    xs_window=
    regex="^$(printf '%s' "$title" | sed 's/[].[^$*+?(){}|\\]/\\&/g')\$"
    xs_until -p "$pid" 10 "visible window '$title' of process $pid" xs_window_of "$pid" "$regex" &&
        return 0
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        echo "process $pid ended with status $status" >&2
        return 1
    fi
    {
        echo "windows named '$title' (id pid):"
        for window in $(timeout 2 xdotool search --name "$regex" 2>/dev/null); do
            echo "  $window $(timeout 2 xdotool getwindowpid "$window" 2>/dev/null)"
        done
        timeout 2 xwininfo -root -tree | grep -v '(has no name)' | head -n 30 || true
    } >&2
    return 1
}
xs_window_of() { # xs_window_of PID REGEX: sets xs_window to PID's visible window so named
    local window
    window=$(timeout 2 xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1) || true
    # shellcheck disable=SC2034 # for the caller
    [ -n "$window" ] && [ "$(timeout 2 xdotool getwindowpid "$window" 2>/dev/null)" = "$1" ] &&
        xs_window=$window
}

# xwininfo, not `xdotool getwindowgeometry`: the latter adds the frame's
# extents to the position under a reparenting window manager.
xs_geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $4 }
        /Absolute upper-left Y:/ { y = $4 }
        /^ *Width:/ { w = $2 }
        /^ *Height:/ { h = $2 }
        END { print x, y, w, h }'
}

xs_toplevel() {
    local window=$1 parent
    local root
    root=$(xwininfo -root | awk '/Window id:/ { print $4; exit }')
    while :; do
        parent=$(xwininfo -children -id "$window" | awk '/Parent window id:/ { print $4; exit }')
        [ -n "$parent" ] || fail "no parent for window $window"
        [ $((parent)) -eq $((root)) ] && break
        window=$parent
    done
    echo $((window))
}

# Every xdotool call is bounded: a --sync that waits for something that never
# happens must fail the test, not hang it.
xdo() { timeout 10 xdotool "$@" || fail "xdotool $* failed or timed out"; }

# The desktop's scaling, font size and language stay out: every run looks alike.
xs_pendrio_env() {
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI QT_ENABLE_HIGHDPI_SCALING \
        QT_AUTO_SCREEN_SCALE_FACTOR QT_SCALE_FACTOR_ROUNDING_POLICY QT_USE_PHYSICAL_DPI
    # In a sanitizer build, libxkbcommon-x11 (read by Qt's xcb plugin at start-up)
    # strndup()s X atom names that have no terminating zero, which ASan's
    # strict_string_checks reports although strndup never reads past its bound.
    export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANGUAGE='' \
        ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0
    while [ $# -gt 0 ]; do
        if [ "$1" = -u ]; then unset "$2" && shift; else export "${1?}"; fi
        shift
    done
}
xs_exec_pendrio() { xs_pendrio_env "${@:2}" && exec "$1"; }
xs_start_pendrio() {
    [ -n "${PENDRIO_WINDOW_TITLE:-}" ] || fail "PENDRIO_WINDOW_TITLE is not set (ctest sets it)"
    xs_app_log=$1
    xs_run "$1" xs_exec_pendrio "${@:2}"
    xs_app_pid=$xs_last_pid
    xs_pendrio_window "$PENDRIO_WINDOW_TITLE"
}
xs_pendrio_window() { xs_find_window "$xs_app_pid" "$1" || { xs_show_log "$xs_app_log"; return 1; }; }

xs_key_names() {
    local text=$1 i c
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
        .) echo period ;;
        ,) echo comma ;;
        -) echo minus ;;
        +) echo plus ;;
        [A-Z]) echo "shift+${c,}" ;;
        *) echo "$c" ;;
        esac
    done
}
