#!/usr/bin/env bash
# Builds the Debian packages with CPack from a built tree, unpacks the program's
# package into a scratch root, checks its files and Depends, runs lintian, and
# starts the unpacked program on a virtual X display of its own (Xvfb and
# openbox, from tests/desktop/x-session.sh) until its window appears.
#
#   check-deb.sh BUILD_DIR SCRATCH_DIR APP_ID VERSION
#
# The window it waits for is titled $PENDRIO_WINDOW_TITLE (ctest sets it).
# Everything it makes stays in SCRATCH_DIR (emptied first): the packages in
# packages/, the unpacked root in root/, logs and a screenshot beside them.
# Whatever it starts (cpack and its build, Xvfb, openbox, the program) is ended
# on success, on failure and on a signal.
set -euo pipefail

build_dir=$(cd "$1" && pwd)
scratch=$2
app_id=$3
version=$4
here=$(cd "$(dirname "$0")" && pwd)

# The X session's cleanup (an EXIT trap) ends all that is started with xs_run.
# shellcheck source-path=SCRIPTDIR source=../desktop/x-session.sh
. "$here/../desktop/x-session.sh"
xs_require "${XS_X_TOOLS[@]}" lintian:lintian dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev cpack:cmake \
    file:file man:man-db

xs_budget 580 # within the test's 600 s: the build cpack runs, lintian and the X session
rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)

echo "== cpack -G DEB in $build_dir"
# In a process group of its own, so that the cleanup ends the build it runs too.
xs_run -g "$scratch/cpack.log" env -C "$build_dir" cpack -G DEB -B "$scratch/packages"
xs_wait "$xs_last_pid" || { xs_show_log "$scratch/cpack.log"; fail "cpack failed"; }

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

echo "== lintian on both packages"
# Debian's own checks of binary packages, among them the manual page rendered
# with man --warnings, the changelog and the DEP-5 copyright file: every error
# or warning fails; informational tags are only shown. Bounded, since lintian
# unpacks and reads every file of both packages.
timeout 300 lintian --fail-on error,warning --display-info "$deb" "$dev_deb" 2>&1 |
    tee "$scratch/lintian.log" ||
    fail "lintian found errors or warnings (or did not finish within 300 s) in the packages"

echo "== start /usr/bin/pendrio from the unpacked root on a virtual display"
xs_start "$scratch"
echo "   display $DISPLAY"

# xs_start gave the session a HOME and an XDG_RUNTIME_DIR of its own under
# $scratch. The program must find Qt as an installed system would: no library
# or plugin path of the developer's, and X even where a Wayland session runs.
xs_start_pendrio "$scratch/pendrio.log" "$program" -u WAYLAND_DISPLAY -u LD_LIBRARY_PATH -u QT_PLUGIN_PATH
echo "   pendrio (pid $xs_app_pid)"
xdo getwindowgeometry "$xs_window" | sed 's/^/   /'
if command -v import >/dev/null; then
    if timeout 10 import -window root "$scratch/screenshot.png" 2>/dev/null; then
        echo "   screenshot: $scratch/screenshot.png"
    fi
fi

xs_stop "$xs_app_pid"
echo "PASS: the .deb installs a program whose window '$PENDRIO_WINDOW_TITLE' appears"
