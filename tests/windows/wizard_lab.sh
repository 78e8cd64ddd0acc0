#!/usr/bin/env bash
# The real orvane-setup.exe, as shipped (the zip's folder), under Wine on the
# lab's LAN (scripts/lab.sh): the reachable path and the foreign-subnet path
# end to end, a user at the keyboard played by xdotool.
#
#   tests/windows/wizard_lab.sh <windows build dir> <orvane-devsim>
#
# Devices: a 192.168.50.20 FILER1 in the PC's subnet, b 10.20.30.40 FILER2 in
# a foreign subnet that really moves (--apply); b answers 300 ms later, so the
# list shows FILER1 first. Each path is one lab of its own (a fresh network and
# fresh simulators); tests/windows/wizard_lab_pc.sh runs on its PC.
# Needs root (exit 77 without).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
devsim="$2"
if [ "$(id -u)" -ne 0 ]; then
  echo "wizard_lab.sh: needs root" >&2
  exit 77
fi
status=0
for path in reachable foreign; do
  echo "== lab under Wine: the $path path" >&2
  "$root/scripts/lab.sh" --devsim "$devsim" --timeout 240 \
    --device a 192.168.50.20/24 --host FILER1 --reply-to sender \
    --device b 10.20.30.40/24 --host FILER2 --apply --delay 300 \
    -- "$here/wizard_lab_pc.sh" "$build" "$path" || status=$?
  [ "$status" -eq 0 ] || break
done
exit "$status"
