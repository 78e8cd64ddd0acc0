#!/usr/bin/env bash
# Start-up of the Windows program under Wine against Step 0 made of plain Qt
# widgets, built the same way (tools/screenshots/plain_step0.cpp), as
# scripts/startup-bench.sh does on Linux:
#
#   tests/windows/startup_wine.sh <windows build dir> [runs, default 21]
#
# Time from the start of `wine <program>` to its first window being listed
# among the desktop's windows (orvane-win-wait-window polls every 10 ms), with
# one warm wine server, Wine's virtual desktop and Xvfb, inside a network
# namespace of its own; the two programs alternate. Prints the medians (ms),
# their ratio and the spread of each (the quartiles and the extremes). Run it
# on a quiet machine: every other program's work lands in the figures.
# Needs root.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
runs="${2:-21}"
if [ "${ORVANE_STARTUP_INNER:-}" != 1 ]; then
  exec env ORVANE_STARTUP_INNER=1 unshare --net --mount -- "$0" "$@"
fi
ip link set lo up
work="$(mktemp -d)"
. "$here/wine_session.sh"
wine_session_start "$work"
trap wine_session_stop EXIT
wine wineboot >/dev/null 2>&1
wineserver -w
wineserver -p
wine wineboot >/dev/null 2>&1
wine explorer /desktop=Default,1600x1200 >/dev/null 2>&1 &
sleep 2
wait_tool="$build/tests/windows/orvane-win-wait-window.exe"

# one <program> <title>: prints the milliseconds to the window, ends the program
one() {
  local start end pid
  start=$(date +%s%N)
  WINEQT_QPA_PLATFORM=windows wine "$1" >/dev/null 2>&1 &
  pid=$!
  wine "$wait_tool" "$2" 30000
  end=$(date +%s%N)
  wine "$wait_tool" "$2" 1000 close
  wait "$pid" 2>/dev/null || true
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# min, first quartile, median, third quartile, max
spread() { sort -n | awk '{a[NR]=$1} END {print a[1], a[int((NR+3)/4)], a[int((NR+1)/2)], a[int((3*NR+1)/4)], a[NR]}'; }

one "$build/wizard/orvane-setup.exe" "Step 0" >/dev/null  # warms the file cache
: >"$work/wizard"
: >"$work/plain"
for _ in $(seq "$runs"); do
  one "$build/wizard/orvane-setup.exe" "Step 0" >>"$work/wizard"
  one "$build/tools/screenshots/orvane-plain-step0.exe" "Orvane plain Step 0" >>"$work/plain"
done
w="$(median <"$work/wizard")"
p="$(median <"$work/plain")"
echo "wizard Step 0: $w ms; plain Qt Step 0: $p ms (median of $runs, under Wine);" \
  "ratio $(awk -v w="$w" -v p="$p" 'BEGIN {printf "%.2f", w / p}')"
echo "spread (min, quartiles, max): wizard $(spread <"$work/wizard"); plain $(spread <"$work/plain")"
echo "wizard: $(tr '\n' ' ' <"$work/wizard")" >&2
echo "plain:  $(tr '\n' ' ' <"$work/plain")" >&2
