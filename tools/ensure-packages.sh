#!/usr/bin/env bash
# Installs the Debian packages Pendrio needs, but only those that are missing,
# so that a second run costs nothing.
#
#   tools/ensure-packages.sh run    what building and running the program need
#   tools/ensure-packages.sh test   that, and what the tests, fuzzers and benchmarks need
set -euo pipefail

run_packages=(
    # build
    cmake g++ make pkgconf qt6-base-dev qt6-svg-dev
    # run time: Qt draws the SVG window icon through this plugin
    libqt6svg6
    # run time: Qt's Wayland platform, for a Wayland session without XWayland
    qt6-wayland
)
test_packages=(
    # tests, fuzzing, benchmarks (time: peak memory in bench/startup.sh)
    libgtest-dev libbenchmark-dev clang libclang-rt-14-dev time
    # MPFR, the reference for tan and atan; the engine cross-built for Windows and run under wine
    libmpfr-dev g++-mingw-w64-x86-64-posix wine64
    # real-window tests, screenshots and packaging checks
    xvfb xauth openbox x11-utils xdotool imagemagick fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file lintian man-db
    # the real clipboard and the exported files: xclip, rsvg-convert, pdftotext and pdfinfo
    xclip librsvg2-bin poppler-utils
    # lupdate, which extracts the strings a translator works on
    qt6-l10n-tools
    # the window through AT-SPI, as a screen reader sees it
    dbus at-spi2-core python3-pyatspi
    # a Wayland session with XWayland
    weston xwayland
    # Node, to read the IFC file back with web-ifc (tools/ensure-node-packages.sh)
    nodejs
)
# Debian's npm only where no npm is on the path: NodeSource's nodejs package
# brings its own, and Debian's would replace that nodejs with its older one.
command -v npm >/dev/null || test_packages+=(npm)

case ${1:-} in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
run_as_root=()
[ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update
"${run_as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
