#!/usr/bin/env bash
# Runs the Windows build's tests under Wine (after scripts/build-windows.sh):
#
#   scripts/test-windows.sh [--no-lab] [ctest arguments...]
#
# 1. The unit and GUI suites through ctest, Wine being the cross-compiling
#    emulator (scripts/wine-run.sh), all inside one `unshare --net` namespace
#    with only lo, which holds the one wine server the tests share.
# 2. The installer: silent install, the installed program's Step 0, silent
#    uninstall (tests/windows/installer_check.sh).
# 3. The lab: the real orvane-setup.exe on the lab's LAN (scripts/lab.sh) under
#    Wine and Xvfb, the reachable and the foreign-subnet paths and a PC with
#    two adapters end to end (tests/windows/wizard_lab.sh; the device
#    simulator from the ci build, or $ORVANE_DEVSIM).
# Needs root, for the namespaces.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
lab=1
if [ "${1:-}" = "--no-lab" ]; then
  lab=0
  shift
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "test-windows: needs root for its network namespaces" >&2
  exit 77
fi
export ORVANE_WINDOWS_DEPS="${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-setup/windows}"
export WINEPREFIX="${WINEPREFIX:-$ORVANE_WINDOWS_DEPS/wine-prefix}"

start=$(date +%s)
status=0
unshare --net --mount -- bash -c '
  set -u
  ip link set lo up
  mkdir -p "/tmp/.wine-$(id -u)"
  mount -t tmpfs -o mode=700 orvane-wine "/tmp/.wine-$(id -u)"
  # The GUI tests run on Qt'"'"'s Windows platform, which needs an X server.
  display_file="$(mktemp)"
  Xvfb -displayfd 5 -nolisten tcp -screen 0 1600x1200x24 5>"$display_file" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  rm -f "$display_file"
  export ORVANE_WINE_SHARED_SERVER=1
  # The server, the services and the desktop start here, with their output
  # going nowhere: one started by a test would hold that test'"'"'s output pipe
  # open and ctest would wait for it. They stay until the suite has run.
  scripts/wine-run.sh wineboot >/dev/null 2>&1
  wineserver -w
  wineserver -p
  scripts/wine-run.sh wineboot >/dev/null 2>&1
  scripts/wine-run.sh explorer /desktop=Default,1600x1200 >/dev/null 2>&1 &
  # ctest lists every test program first, the GUI ones too, and those make
  # their application object to do it: on Qt'"'"'s Windows platform that fails
  # while the desktop is still starting. So the desktop window is awaited.
  for _ in $(seq 150); do
    xdotool search --name "Wine desktop" >/dev/null 2>&1 && break
    sleep 0.2
  done
  status=0
  # GUI tests one at a time: on one desktop, a second test'"'"'s window would take
  # the keyboard from the first.
  ctest --preset windows -L unit -j 2 "$@" || status=$?
  ctest --preset windows -L gui -j 1 "$@" || status=$?
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  exit "$status"
' test-windows "$@" || status=$?
echo "test-windows: unit and GUI suites under Wine: $(( $(date +%s) - start )) s" >&2
[ "$status" -eq 0 ] || exit "$status"

start=$(date +%s)
tests/windows/installer_check.sh "$root/build/windows"
echo "test-windows: the installer under Wine: $(( $(date +%s) - start )) s" >&2

if [ "$lab" = 1 ]; then
  start=$(date +%s)
  tests/windows/wizard_lab.sh "$root/build/windows" \
    "${ORVANE_DEVSIM:-$root/build/ci/tools/devsim/orvane-devsim}"
  echo "test-windows: the program in the lab under Wine: $(( $(date +%s) - start )) s" >&2
fi
