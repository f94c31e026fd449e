#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pendrio need,
# but only those that are missing, so that a second run costs nothing.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkgconf qt6-base-dev qt6-svg-dev
    # run time: Qt draws the SVG window icon through this plugin
    libqt6svg6
    # tests, fuzzing, benchmarks (time: peak memory in bench/startup.sh)
    libgtest-dev libbenchmark-dev clang libclang-rt-14-dev time
    # real-window tests, screenshots and packaging checks
    xvfb xauth openbox x11-utils xdotool imagemagick fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file lintian man-db
    # the real clipboard and the exported files: xclip, rsvg-convert
    xclip librsvg2-bin
    # the window through AT-SPI, as a screen reader sees it
    dbus at-spi2-core python3-pyatspi
    # a Wayland session with XWayland, and Qt's Wayland platform
    weston xwayland qt6-wayland
)

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
