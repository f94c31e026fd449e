#!/usr/bin/env bash
# Builds the Debian packages with CPack from a built tree, unpacks the program's
# package into a scratch root, checks its files and its Depends field, and
# starts the unpacked program on a virtual X display of its own until its
# window appears.
#
#   check-deb.sh BUILD_DIR SCRATCH_DIR APP_ID VERSION [WINDOW_TITLE]
#
# Everything it makes stays in SCRATCH_DIR (emptied first): the packages in
# packages/, the unpacked root in root/, logs and a screenshot beside them.
# Whatever it starts (Xvfb, the program) is ended on success and on failure.
set -euo pipefail

build_dir=$(cd "$1" && pwd)
scratch=$2
app_id=$3
version=$4
title=${5:-Pendrio V0.0}
here=$(cd "$(dirname "$0")" && pwd)

app_pid=
xvfb_pid=
job_pid=

# run_job LOG COMMAND...: runs COMMAND in a process group of its own, logging
# to LOG, and waits for it in a way that a signal interrupts, so that cleanup
# can end it together with everything it started (cpack runs a build).
run_job() {
    local log=$1
    shift
    setsid "$@" >"$log" 2>&1 &
    job_pid=$!
    local status=0
    wait "$job_pid" || status=$?
    job_pid=
    return "$status"
}
stop_job() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 -- "-$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
stop() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    stop_job "$job_pid"
    stop "$app_pid"
    stop "$xvfb_pid"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
show() { # show FILE: print a log on failure
    [ -s "$1" ] && { echo "--- $1" >&2; cat "$1" >&2; echo "---" >&2; }
    return 0
}

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)

echo "== cpack -G DEB in $build_dir"
run_job "$scratch/cpack.log" env -C "$build_dir" cpack -G DEB -B "$scratch/packages" ||
    { show "$scratch/cpack.log"; fail "cpack failed"; }

arch=$(dpkg --print-architecture)
deb=$scratch/packages/pendrio_${version}_${arch}.deb
dev_deb=$scratch/packages/pendrio-dev_${version}_${arch}.deb
ls -1 "$scratch/packages"/*.deb
[ -f "$deb" ] || fail "no $(basename "$deb") was built"
[ -f "$dev_deb" ] || fail "no $(basename "$dev_deb") was built"

echo "== control fields of $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Maintainer Section Depends | tee "$scratch/control.txt"
[ "$(dpkg-deb --field "$deb" Package)" = pendrio ] || fail "package name is not pendrio"
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "package version is not $version"
[ -n "$(dpkg-deb --field "$deb" Maintainer)" ] || fail "no Maintainer field"
depends=$(dpkg-deb --field "$deb" Depends)
# dpkg-shlibdeps found these in the program; each must be named as a package.
for package in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
    grep -qE "^ *${package//+/\\+}( |$)" <<<"${depends//,/$'\n'}" ||
        fail "Depends does not name $package: $depends"
done

echo "== unpack into $scratch/root"
dpkg -x "$deb" "$scratch/root"
root=$scratch/root
program=$root/usr/bin/pendrio
for file in \
    usr/bin/pendrio \
    "usr/share/applications/$app_id.desktop" \
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "usr/share/metainfo/$app_id.metainfo.xml" \
    usr/share/doc/pendrio/copyright; do
    [ -f "$root/$file" ] || fail "the package has no /$file"
    echo "   /$file"
done
[ -x "$program" ] || fail "/usr/bin/pendrio is not executable"
file_type=$(file -b "$program")
[[ "$file_type" == ELF* ]] || fail "/usr/bin/pendrio is not an ELF program: $file_type"
if dpkg-deb --contents "$deb" | grep -E '/include/|\.a$|/cmake/'; then
    fail "the program's package carries development files"
fi

# The desktop entry, icon and metainfo must name each other.
desktop=$root/usr/share/applications/$app_id.desktop
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's Icon is not $app_id"
grep -qx "Exec=pendrio" "$desktop" || fail "the desktop entry does not start pendrio"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo does not launch $app_id.desktop"
grep -q "<id>$app_id</id>" "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo's id is not $app_id"
"$here/check-metadata.sh" desktop "$desktop"
"$here/check-metadata.sh" appstream "$root/usr/share/metainfo/$app_id.metainfo.xml"

# Nothing may point back into the build tree: the project's own libraries are
# linked in statically and Qt comes from the system.
dynamic=$(objdump -p "$program")
if grep -E '^ *(RPATH|RUNPATH) ' <<<"$dynamic"; then
    fail "the installed program carries an RPATH/RUNPATH"
fi
libraries=$(ldd "$program")
if grep 'not found' <<<"$libraries"; then
    fail "the installed program misses shared libraries"
fi
grep -q 'NEEDED *libQt6Widgets\.so\.6' <<<"$dynamic" || fail "the program does not link Qt 6 Widgets"

echo "== contents of $(basename "$dev_deb")"
dpkg-deb --contents "$dev_deb" | awk '{print $NF}' | tee "$scratch/dev-contents.txt"
for pattern in '/usr/include/profile/CalculateProfile\.h$' '/usr/include/profile/ProfileState\.h$' \
    '/libpendrio_profile\.a$' '/cmake/Pendrio/PendrioConfig\.cmake$' '/cmake/Pendrio/PendrioTargets\.cmake$'; do
    grep -qE "$pattern" "$scratch/dev-contents.txt" || fail "pendrio-dev has nothing matching $pattern"
done

echo "== start /usr/bin/pendrio from the unpacked root on a virtual display"
# Xvfb picks a free display itself and writes its number to fd 3 when ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || { show "$scratch/xvfb.log"; fail "Xvfb did not start"; }
    sleep 0.1
done
grep -q '^[0-9][0-9]*$' "$scratch/display" || { show "$scratch/xvfb.log"; fail "Xvfb gave no display"; }
display=:$(cat "$scratch/display")
echo "   Xvfb (pid $xvfb_pid) on display $display"

mkdir -m 700 "$scratch/runtime"
env -u WAYLAND_DISPLAY -u LD_LIBRARY_PATH -u QT_PLUGIN_PATH \
    DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch" \
    "$program" >"$scratch/pendrio.log" 2>&1 &
app_pid=$!
echo "   pendrio (pid $app_pid)"

title_regex="^$(printf '%s' "$title" | sed 's/[].[^$*+?(){}|\\]/\\&/g')\$"
window=
for _ in $(seq 300); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        wait "$app_pid" && status=0 || status=$?
        app_pid=
        show "$scratch/pendrio.log"
        fail "pendrio ended (status $status) before its window appeared"
    fi
    window=$(DISPLAY="$display" xdotool search --onlyvisible --name "$title_regex" 2>/dev/null) || true
    window=${window%%$'\n'*}
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    DISPLAY="$display" xwininfo -root -tree >&2 || true
    show "$scratch/pendrio.log"
    fail "no visible window titled '$title' within 30 s"
fi
window_pid=$(DISPLAY="$display" xdotool getwindowpid "$window" 2>/dev/null) || window_pid=
[ "$window_pid" = "$app_pid" ] || fail "the window '$title' belongs to pid '$window_pid', not to pendrio ($app_pid)"
DISPLAY="$display" xdotool getwindowgeometry "$window" | sed 's/^/   /'
if command -v import >/dev/null; then
    if DISPLAY="$display" import -window root "$scratch/screenshot.png" 2>/dev/null; then
        echo "   screenshot: $scratch/screenshot.png"
    fi
fi

stop "$app_pid"
app_pid=
echo "PASS: the .deb installs a program whose window '$title' appears"
