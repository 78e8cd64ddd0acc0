#!/usr/bin/env bash
# Builds the wizard for Windows on Debian 12 / Ubuntu and makes what is shipped:
#
#   scripts/build-windows.sh        prints, one a line: the program, the zip,
#                                   the installer
#
# 1. Installs what is missing (MinGW-w64 with posix threads, the host Qt tools,
#    googletest's source, Wine, NSIS, zip).
# 2. Qt 6 for MinGW into a cache folder, $ORVANE_WINDOWS_DEPS (default
#    ~/.cache/orvane-setup/windows): unpacked from $ORVANE_QT_MINGW_TARBALL
#    (default ../shared/toolchains/qt6.4.2-mingw64.tar.xz beside the clone)
#    when there is one, otherwise built once from Debian's qt6-base source by
#    scripts/build-qt-mingw.sh (about 16 minutes on two cores).
# 3. GoogleTest for MinGW from Debian's googletest source (/usr/src/googletest).
# 4. The image baker for this machine (preset windows-host): the build runs it.
# 5. The whole tree with the windows preset (warnings are errors), tests too.
# 6. The zip and the installer (scripts/windows-dist.sh).
#
# Nothing here runs a Windows program; scripts/test-windows.sh does, inside
# network namespaces.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# xdotool is the user at the keyboard in the lab under Wine (scripts/test-windows.sh).
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools
  googletest wine wine64 fonts-wine nsis zip xz-utils xvfb xauth xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "build-windows: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
fi

export ORVANE_WINDOWS_DEPS="${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-setup/windows}"
deps="$ORVANE_WINDOWS_DEPS"
mkdir -p "$deps"

# --- Qt for MinGW --------------------------------------------------------------
qt_sha256=e2b6ccbad42ce6cfd4dd66a2699a87a939e1ff8d5269135d71c3606c17386cf9
tarball="${ORVANE_QT_MINGW_TARBALL:-$root/../shared/toolchains/qt6.4.2-mingw64.tar.xz}"
if [ ! -f "$deps/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  if [ -f "$tarball" ]; then
    echo "build-windows: unpacking $tarball" >&2
    echo "$qt_sha256  $tarball" | sha256sum -c --quiet - >&2
    rm -rf "$deps/qt6-mingw.tmp"
    mkdir -p "$deps/qt6-mingw.tmp"
    tar -xJf "$tarball" -C "$deps/qt6-mingw.tmp"
    mv "$deps/qt6-mingw.tmp/qt6-mingw" "$deps/qt6-mingw"
    rmdir "$deps/qt6-mingw.tmp"
  else
    echo "build-windows: no Qt for MinGW at $tarball; building it (about 16 minutes)" >&2
    scripts/build-qt-mingw.sh "$deps/qt6-mingw" >&2
  fi
fi

# --- GoogleTest for MinGW ------------------------------------------------------
gtest_version="$(dpkg-query -W -f='${Version}' googletest)"
if [ "$(cat "$deps/googletest/.version" 2>/dev/null)" != "$gtest_version" ]; then
  echo "build-windows: building GoogleTest $gtest_version for MinGW" >&2
  gtest_build="$(mktemp -d)"
  cmake -S /usr/src/googletest -B "$gtest_build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps/googletest" >/dev/null
  cmake --build "$gtest_build" >/dev/null
  rm -rf "$deps/googletest"
  cmake --install "$gtest_build" >/dev/null
  rm -rf "$gtest_build"
  echo "$gtest_version" > "$deps/googletest/.version"
fi

# --- the build -----------------------------------------------------------------
{
  cmake --preset windows-host
  cmake --build --preset windows-host
  cmake --preset windows
  cmake --build --preset windows
} >&2

scripts/windows-dist.sh build/windows
