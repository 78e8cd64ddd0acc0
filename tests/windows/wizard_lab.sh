#!/usr/bin/env bash
# The real orvane-setup.exe, as shipped (the zip's folder), under Wine on the
# lab's LAN (scripts/lab.sh): the reachable path, the foreign-subnet path and
# the PC with two adapters end to end, a user at the keyboard played by
# xdotool.
#
#   tests/windows/wizard_lab.sh <windows build dir> <orvane-devsim>
#
# Devices: a 192.168.50.20 FILER1 in the PC's subnet, b 10.20.30.40 FILER2 in
# a foreign subnet that really moves (--apply); b answers 300 ms later, so the
# list shows FILER1 first. With two adapters, the first (eth0, 10.99.0.10,
# owning the default route) has v 10.99.0.20 FILER1 beside it, and b sits
# behind the second (eth1, 192.168.50.10): it must be moved into eth1's
# network, by a request sent out on eth1. Each path is one lab of its own (a
# fresh network and fresh simulators); tests/windows/wizard_lab_pc.sh runs on
# its PC.
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
one_lan=(--device a 192.168.50.20/24 --host FILER1 --reply-to sender
  --device b 10.20.30.40/24 --host FILER2 --apply --delay 300)
two_lans=(--pc 10.99.0.10/24 --pc-gateway 10.99.0.1 --pc2 192.168.50.10/24,192.168.50.1
  --device v 10.99.0.20/24 --host FILER1
  --device b 10.20.30.40/24 --host FILER2 --lan2 --apply --delay 300)
for path in reachable foreign adapters; do
  echo "== lab under Wine: the $path path" >&2
  lan=("${one_lan[@]}")
  [ "$path" = adapters ] && lan=("${two_lans[@]}")
  "$root/scripts/lab.sh" --devsim "$devsim" --timeout 240 "${lan[@]}" \
    -- "$here/wizard_lab_pc.sh" "$build" "$path" || status=$?
  [ "$status" -eq 0 ] || break
done
exit "$status"
