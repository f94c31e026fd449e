#!/usr/bin/env bash
# Installs a Pendrio build tree into a scratch prefix, then configures, builds
# and runs tests/packaging/consumer against that prefix alone, as another CMake
# project would use the engine: find_package(Pendrio), no Qt.
#
#   check-consumer.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR
#
# Environment: CXX (compiler for the consumer, the build's own by default in the
# ctest), PENDRIO_CONSUMER_LINKER_FLAGS (e.g. the sanitizer runtime when the
# engine was built with sanitizers).
set -euo pipefail

build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
scratch=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
prefix=$scratch/prefix

echo "== cmake --install $build_dir --prefix $prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }

echo "== installed engine files"
for file in include/profile/ProfileState.h include/profile/CalculateProfile.h \
    include/profile/CurveFacts.h; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
    echo "   $file"
done
for name in libpendrio_profile.a PendrioConfig.cmake PendrioConfigVersion.cmake PendrioTargets.cmake; do
    found=$(cd "$prefix" && find lib* -name "$name" 2>/dev/null)
    [ "$(printf '%s\n' "$found" | grep -c .)" -eq 1 ] || fail "expected one $name under $prefix/lib*, found: ${found:-none}"
    echo "   $found"
done
config_dir=$(dirname "$(find "$prefix"/lib* -name PendrioConfig.cmake)")
case "$config_dir" in
    */cmake/Pendrio) ;;
    *) fail "PendrioConfig.cmake is in $config_dir, not in lib/cmake/Pendrio" ;;
esac

# The installed package must stand on its own: no path into the source or build
# tree, and no Qt.
if grep -rlF -e "$source_dir" -e "$build_dir" "$config_dir"; then
    fail "the installed CMake package files name the source or build tree"
fi
if grep -ril 'qt' "$config_dir"/PendrioTargets*.cmake; then
    fail "the installed CMake targets mention Qt"
fi

echo "== configure and build the consumer against $prefix"
consumer_build=$scratch/consumer-build
configure=(cmake -S "$source_dir/tests/packaging/consumer" -B "$consumer_build"
    -DCMAKE_PREFIX_PATH="$prefix"
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    -DCMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY=OFF
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
    -DCMAKE_BUILD_TYPE=Release)
if [ -n "${PENDRIO_CONSUMER_LINKER_FLAGS:-}" ]; then
    configure+=(-DCMAKE_EXE_LINKER_FLAGS="$PENDRIO_CONSUMER_LINKER_FLAGS")
fi
"${configure[@]}" >"$scratch/configure.log" 2>&1 ||
    { cat "$scratch/configure.log" >&2; fail "configuring the consumer failed"; }
found_config=$(sed -n 's/^Pendrio_DIR:PATH=//p' "$consumer_build/CMakeCache.txt")
[ "$found_config" = "$config_dir" ] || fail "the consumer found Pendrio in '$found_config', not in $config_dir"
cmake --build "$consumer_build" >"$scratch/build.log" 2>&1 ||
    { cat "$scratch/build.log" >&2; fail "building the consumer failed"; }

consumer=$consumer_build/pendrio_consumer
if objdump -p "$consumer" | grep -i 'NEEDED.*qt'; then
    fail "the consumer links a Qt library"
fi

echo "== run the consumer"
"$consumer" || fail "the consumer did not reproduce the worked example"
echo "PASS: the installed engine builds and runs in a project of its own"
