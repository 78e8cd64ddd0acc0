#!/usr/bin/env bash
# The real orvane-setup, started as a user starts it, puts its Step 0 window on
# screen: under a virtual X server, in a network namespace of its own (Step 0
# sends nothing, but the wizard never runs in this machine's own namespace).
# Needs root for the namespace; without it, or without Xvfb, it is skipped (77).
set -uo pipefail
wizard=$1 waiter=$2
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root for unshare --net"; exit 77; }
command -v Xvfb >/dev/null || { echo "skipped: no Xvfb"; exit 77; }

work=$(mktemp -d)
xvfb= wizard_pid= waiter_pid=
cleanup() {
  for p in $wizard_pid $waiter_pid $xvfb; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")" XDG_RUNTIME_DIR="$work"

"$waiter" "Orvane Configuration and Setup Utility - Step 0" >"$work/mapped" &
waiter_pid=$!
for _ in $(seq 100); do grep -q ready "$work/mapped" && break; sleep 0.05; done
unshare --net -- env QT_QPA_PLATFORM=xcb "$wizard" >"$work/wizard.log" 2>&1 &
wizard_pid=$!

for _ in $(seq 200); do
  if ! kill -0 "$waiter_pid" 2>/dev/null; then
    if [ "$(wc -l <"$work/mapped")" -ge 2 ]; then
      echo "Step 0 is on screen"
      kill -0 "$wizard_pid" 2>/dev/null || { echo "but the wizard is gone"; exit 1; }
      exit 0
    fi
    break
  fi
  sleep 0.05
done
echo "no Step 0 window within 10 s"
cat "$work/wizard.log"
exit 1
