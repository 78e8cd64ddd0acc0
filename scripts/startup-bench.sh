#!/usr/bin/env bash
# Start-up time and peak memory of the wizard against Step 0 made of plain Qt
# widgets (tools/screenshots/plain_step0.cpp: the same picture, text box,
# buttons and label in the same faces and places, with none of the wizard's
# code), measured side by side in one run under a virtual X server (Xvfb), in
# an optimised build (the bench preset).
#
#   scripts/startup-bench.sh [--runs N]
#
# Time: from the start of the process to its window being mapped on screen
# (tools/screenshots/wait_window.cpp listens for it), the median of N
# alternating runs; also the median of the wizard's time over the plain Step
# 0's within each round, which the machine's changing load moves less. Two
# more programs are measured alongside for reference: a bare window of the
# same size, and that window with one word of text (--label), which shows what
# the font system alone costs, as every window with text pays it.
# Memory: the maximum resident set size (/usr/bin/time -v) of each, median too.
# Limits: the wizard may take 1.10 times the plain Step 0's time and 1.05
# times its memory; the script fails when it takes more.
#
# All four run inside a network namespace of their own (unshare --net):
# Step 0 sends nothing, but the wizard never runs in this machine's own
# network namespace from a script. Needs root for unshare.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=15
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    -h|--help) sed -n '2,23p' "$0"; exit 0 ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then
  echo "startup-bench.sh needs root (unshare --net)" >&2
  exit 1
fi
need=()
[ -x /usr/bin/time ] || need+=(time)
command -v pgrep >/dev/null || need+=(procps)
command -v Xvfb >/dev/null || need+=(xvfb)
[ -f /usr/include/xcb/xcb.h ] || need+=(libxcb1-dev)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# An optimised build (the bench preset), as users get it; BUILD_DIR may name
# another build tree.
build=${BUILD_DIR:-build/bench}
if [ -z "${BUILD_DIR:-}" ] && [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake --preset bench >/dev/null
fi
cmake --build "$build" --target orvane-setup orvane-bare-window orvane-plain-step0 \
  orvane-wait-window >/dev/null
wizard="$PWD/$build/wizard/orvane-setup"
bare="$PWD/$build/tools/screenshots/orvane-bare-window"
plain="$PWD/$build/tools/screenshots/orvane-plain-step0"
stopwatch="$PWD/$build/tools/screenshots/orvane-wait-window"

work=$(mktemp -d)
pid=
xvfb=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A virtual X server on a free display number, which it reports itself; the
# programs reach it over its Unix socket, also from inside their namespace.
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n 1 "$work/display")"
export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=

# One start: prints "microseconds max-rss-kB". The stopwatch listens before
# the program starts; /usr/bin/time is this shell's child, the program its
# only child (unshare and env replace themselves with it).
measure() {
  local prog=$1 title=$2 log="$work/time.log" mapped="$work/mapped" start waiter child rss
  shift 2
  : >"$mapped"
  "$stopwatch" "$title" >"$mapped" &
  waiter=$!
  until grep -q ready "$mapped"; do sleep 0.01; done
  start=$(date +%s%N)
  /usr/bin/time -v -o "$log" unshare --net -- env DISPLAY="$DISPLAY" "$prog" "$@" \
    >/dev/null 2>&1 &
  pid=$!
  wait "$waiter"
  # Let it settle, as a user would see it, before reading its memory.
  sleep 0.3
  child=$(pgrep -P "$pid" || true)
  [ -n "$child" ] && kill -TERM "$child"
  wait "$pid" 2>/dev/null || true
  pid=
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log")
  echo "$((($(tail -n 1 "$mapped") - start) / 1000)) $rss"
}

median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

labelled="Orvane bare window with a label"
plain_title="Orvane plain Step 0"
wizard_title="Orvane Configuration and Setup Utility - Step 0"

# One start of each first, unmeasured, so all find the files in the cache.
measure "$bare" "Orvane bare window" >/dev/null
measure "$bare" "$labelled" --label >/dev/null
measure "$plain" "$plain_title" >/dev/null
measure "$wizard" "$wizard_title" >/dev/null
: >"$work/bare" && : >"$work/label" && : >"$work/plain" && : >"$work/wizard"
for ((i = 0; i < runs; i++)); do
  measure "$bare" "Orvane bare window" >>"$work/bare"
  measure "$bare" "$labelled" --label >>"$work/label"
  measure "$plain" "$plain_title" >>"$work/plain"
  measure "$wizard" "$wizard_title" >>"$work/wizard"
done

bt=$(cut -d' ' -f1 "$work/bare" | median)
lt=$(cut -d' ' -f1 "$work/label" | median)
qt=$(cut -d' ' -f1 "$work/plain" | median)
wt=$(cut -d' ' -f1 "$work/wizard" | median)
bm=$(cut -d' ' -f2 "$work/bare" | median)
lm=$(cut -d' ' -f2 "$work/label" | median)
qm=$(cut -d' ' -f2 "$work/plain" | median)
wm=$(cut -d' ' -f2 "$work/wizard" | median)
# The wizard's time over the plain Step 0's within each round, whose median
# drifts less with the machine's load than the ratio of the two medians does.
pr=$(paste -d' ' "$work/plain" "$work/wizard" | awk '{ printf "%.4f\n", $3 / $1 }' | median)
awk -v bt="$bt" -v lt="$lt" -v qt="$qt" -v wt="$wt" -v bm="$bm" -v lm="$lm" -v qm="$qm" -v wm="$wm" \
  -v pr="$pr" -v runs="$runs" 'BEGIN {
  tr = wt / qt; mr = wm / qm
  printf "runs: %d each (median)\n", runs
  printf "start-up:  bare window %.1f ms, with a label %.1f ms (%.2f), plain Qt Step 0 %.1f ms (%.2f)\n", bt / 1000, lt / 1000, lt / bt, qt / 1000, qt / bt
  printf "           wizard Step 0 %.1f ms (%.2f)\n", wt / 1000, wt / bt
  printf "           wizard / plain Step 0 %.2f (limit 1.10), round by round: median %.2f\n", tr, pr
  printf "peak RSS:  bare window %d kB, with a label %d kB (%.2f), plain Qt Step 0 %d kB (%.2f)\n", bm, lm, lm / bm, qm, qm / bm
  printf "           wizard %d kB (%.2f)\n", wm, wm / bm
  printf "           wizard / plain Step 0 %.2f (limit 1.05)\n", mr
  exit (tr <= 1.10 && mr <= 1.05) ? 0 : 1
}'
