#!/usr/bin/env bash
# Builds Qt 6 base for Windows x86-64 with Debian's MinGW-w64 (posix threads)
# from Debian's own qt6-base source package, the same version as the installed
# host Qt (its moc, rcc and uic are used), and installs it into <prefix>:
#
#   scripts/build-qt-mingw.sh <prefix> [--configure-only]
#
# scripts/build-windows.sh runs it once when no prebuilt tarball is at hand;
# about 16 minutes on two cores. What is built: Core, Gui, Widgets, Test and
# the windows, offscreen and minimal platform plugins; no Network, Sql, DBus,
# OpenGL or Vulkan, which the wizard does not use. Needs root or sudo (apt).
# Work files go to $ORVANE_QT_WORK (default /tmp/orvane-qt-mingw).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
prefix="$1"
configure_only=0
[ "${2:-}" = --configure-only ] && configure_only=1
work="${ORVANE_QT_WORK:-/tmp/orvane-qt-mingw}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
log() { echo "build-qt-mingw: $*" >&2; }

packages=(g++-mingw-w64-x86-64-posix cmake ninja-build perl dpkg-dev xz-utils
  qt6-base-dev qt6-base-dev-tools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"

# The source package, through a deb-src entry that exists only for the fetch.
mkdir -p "$work"
source_dir="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)"
if [ -z "$source_dir" ]; then
  list=/etc/apt/sources.list.d/orvane-qt-source.sources
  trap '$sudo rm -f "$list"' EXIT
  sed -n '/^Types:/s/deb$/deb-src/;p' /etc/apt/sources.list.d/debian.sources | $sudo tee "$list" >/dev/null
  grep -q '^Types: deb-src' "$list" || { log "no Debian sources to derive deb-src from"; exit 1; }
  $sudo apt-get update -qq
  (cd "$work" && apt-get source -qq "qt6-base=$version")
  $sudo rm -f "$list"
  $sudo apt-get update -qq
  trap - EXIT
  source_dir="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)"
fi
[ -f "$source_dir/CMakeLists.txt" ] || { log "no Qt source in $work"; exit 1; }

# Debian's source leaves out src/3rdparty/wintab, which the Windows platform
# plugin's tablet support includes: tablet events are turned off (a pen still
# works as a mouse), which takes that code out of the build.
build="$work/build"
options=(
  -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_tabletevent=OFF
  # "-opengl no": FEATURE_opengl=OFF alone leaves Windows' dynamic GL on.
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
  # Direct2D stays on: 6.4.2's platform plugin needs the DirectWrite font
  # database it brings; only the separate Direct2D plugin goes.
  -DFEATURE_direct2d1_1=OFF
  # Nothing of the build host's own libraries can serve Windows.
  -DFEATURE_pkg_config=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_system_textmarkdownreader=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
  # Debian's cross-build patch turns on this Android tool.
  -DFEATURE_androiddeployqt=OFF
)
log "configuring $source_dir"
cmake -S "$source_dir" -B "$build" "${options[@]}" >"$work/configure.log"
[ "$configure_only" = 1 ] && { log "configured: $build"; exit 0; }
log "building (about 15 minutes on two cores)"
ninja -C "$build" >"$work/build.log"
cmake --install "$build" --strip >"$work/install.log"
# qt-cmake chain-loads the toolchain file by the path it was built with; make
# the tree movable by pointing it at a copy inside the tree.
install -m 644 "$root/cmake/mingw-w64.cmake" "$prefix/lib/cmake/mingw-w64.cmake"
sed -i 's|^set(__qt_initially_configured_toolchain_file ".*")$|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../mingw-w64.cmake")|' \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll plugins/platforms/qwindows.dll; do
  [ -f "$prefix/$f" ] || { log "the install lacks $f"; exit 1; }
done
log "installed into $prefix"
