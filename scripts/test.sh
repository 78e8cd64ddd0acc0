#!/usr/bin/env bash
# The test suite.
#
#   scripts/test.sh         the everyday suite: installs what is missing, builds
#                           with warnings as errors (preset ci), then runs the
#                           unit, GUI and lab tests with ctest.
#   scripts/test.sh --all   also the Debian package check, the whole suite under
#                           AddressSanitizer + UndefinedBehaviorSanitizer (preset
#                           asan), the fuzz targets (seed corpus replayed, then
#                           each fuzzed for 30 seconds) and the Windows leg. CI
#                           runs this one.
#
# Unit and GUI tests run on loopback and the offscreen platform. Lab tests
# build their own network namespaces, so they need root; without it they are
# skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

all=0
case "${1:-}" in
  "") ;;
  --all) all=1 ;;
  -h | --help)
    sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
  *)
    echo "usage: scripts/test.sh [--all]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
ctest --preset ci -j "$(nproc)"
((all)) || exit 0

# The Debian package as a user meets it: built, validated, installed with apt
# into a fresh Debian root, started there and removed (root only).
if [ "$(id -u)" -eq 0 ]; then
  scripts/check-package.sh
else
  echo "package check skipped: needs root"
fi

cmake --preset asan
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan -j "$(nproc)"

scripts/fuzz.sh --replay
scripts/fuzz.sh --no-build --seconds 30

# The Windows leg: the wizard cross-built with MinGW-w64 and Qt for MinGW, its
# suites under Wine, the installer, and the program in the lab
# (scripts/build-windows.sh, scripts/test-windows.sh; root for the namespaces).
# Qt for MinGW comes from the shared toolchain tarball beside the clone, or
# from an earlier build in the cache. Building it from source takes a quarter of
# an hour on two cores; the test run does that only when asked
# (ORVANE_BUILD_QT_MINGW=1), and otherwise says plainly that it skipped the leg.
unset QT_QPA_PLATFORM
qt_tarball="${ORVANE_QT_MINGW_TARBALL:-$PWD/../shared/toolchains/qt6.4.2-mingw64.tar.xz}"
qt_cached="${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-setup/windows}/qt6-mingw"
if [ -f "$qt_tarball" ] || [ -d "$qt_cached" ] || [ -n "${ORVANE_BUILD_QT_MINGW:-}" ]; then
  scripts/build-windows.sh
  status=0
  scripts/test-windows.sh || status=$?
  [ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"
else
  echo "Windows leg skipped: no Qt for MinGW at $qt_tarball or $qt_cached" \
    "(ORVANE_BUILD_QT_MINGW=1 builds it)"
fi
