#!/usr/bin/env bash
# On the lab's PC (scripts/lab.sh runs it there; tests/windows/wizard_lab.sh
# says which devices): the shipped orvane-setup.exe under Wine and Xvfb walks
# one path and is checked.
#
#   wizard_lab_pc.sh <windows build dir> reachable|foreign|adapters
#
# Wine runs in this namespace only: its prefix is seen through an overlay that
# is thrown away afterwards, its server folder is private, and Explorer is
# replaced by a stand-in that records how it was started
# (orvane-win-record-launch), so "opening" the targets opens nothing.
# ping_group_range lets Wine's IcmpSendEcho ping over Linux ICMP sockets.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
path="$2"

if [ "${ORVANE_LAB_PC_INNER:-}" != 1 ]; then
  [ -n "${LAB_PC_NS:-}" ] || { echo "wizard_lab_pc.sh: run me through scripts/lab.sh" >&2; exit 1; }
  sysctl -qw net.ipv4.ping_group_range="0 2147483647"
  exec env ORVANE_LAB_PC_INNER=1 unshare --mount -- bash ${ORVANE_LAB_TRACE:+-x} "$0" "$@"
fi

program="$build/dist/orvane-setup/orvane-setup.exe"
tools="$build/tests/windows"
work="$(mktemp -d)"
. "$here/wine_session.sh"
wine_session_start "$work" orvane-lab
trap wine_session_stop EXIT
export ORVANE_WINE_DEPLOYED=1

fail() {
  echo "FAIL ($path): $*" >&2
  wine "$tools/orvane-win-wait-window.exe" - 0 >&2 || true
  exit 1
}

wine wineboot >/dev/null 2>&1
wine explorer /desktop=Default,1600x1200 >/dev/null 2>&1 &
desktop=""
for _ in $(seq 100); do
  desktop="$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n1 || true)"
  [ -n "$desktop" ] && break
  sleep 0.2
done
[ -n "$desktop" ] || fail "Wine's desktop did not appear"
win_folder="$prefix/drive_c/windows"
cp "$tools/orvane-win-record-launch.exe" "$win_folder/explorer.exe"
launches="$prefix/drive_c/orvane-launches.txt"
rm -f "$launches"
desk_folder="$prefix/drive_c/users/$(id -un)/Desktop"

# The line-edit text is drawn only by FreeType under Wine; real Windows draws
# it with the default engine.
WINEDLLOVERRIDES="explorer.exe=n" WINEQT_QPA_PLATFORM="windows:fontengine=freetype" \
  wine "$program" >"$work/program.log" 2>&1 &
program_pid=$!

wait_window() {  # <title part> <seconds>
  wine "$tools/orvane-win-wait-window.exe" "$1" "$(($2 * 1000))" || fail "no window \"$1\" within $2 s"
}
press() {
  xdotool windowfocus --sync "$desktop" 2>/dev/null || true
  xdotool key --delay 100 "$@"
}

wait_window "Step 0" 60
press Return
wait_window "Step 1" 20
press Return
wait_window "Step 2" 20
press Return
wait_window "Step 3" 20
press Return
wait_window "Select Orvane" 30
sleep 1
if [ "$path" != reachable ]; then
  press Down
  host=FILER2
  wait_before_login=1
else
  host=FILER1
  wait_before_login=0
fi
press Return
if [ "$wait_before_login" = 1 ]; then
  wait_window "Config" 60
  sleep 1
  press Return  # the factory credentials the page offers, which the device takes
fi
for _ in 1 2; do  # the shortcuts notice, then the question: OK opens the targets
  wait_window "Warning" 60
  sleep 1
  press Return
  answered=$(date +%s%N)
  sleep 2
done

for _ in $(seq 600); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end within 60 s of the last answer"
ended_ms=$((($(date +%s%N) - answered) / 1000000))

setup="$desk_folder/Setup My Orvane - $host.lnk"
access="$desk_folder/Access My Orvane - $host.lnk"
[ -f "$setup" ] && [ -f "$access" ] || fail "no shortcuts in Wine's desktop folder: $(ls "$desk_folder")"
description="$(lnkinfo "$setup" | sed -n 's/^\s*Description\s*: //p')"
address="$(sed -n 's/^IP=\(.*\) , Manage your Orvane$/\1/p' <<<"$description")"
[ -n "$address" ] || fail "web shortcut description \"$description\""
if [ "$path" = reachable ]; then
  [ "$address" = 192.168.50.20 ] || fail "reachable device at $address"
else
  # With two adapters: eth1's network, not eth0's, which owns the default route.
  case "$address" in 192.168.50.*) ;; *) fail "new address $address not in the PC's subnet" ;; esac
  ip netns exec "$LAB_DEV_B_NS" ip -4 -o addr show | grep -q " $address/" ||
    fail "FILER2 did not move to $address"
  grep -qF "text=\"0C02S00:0A:1B:2C:3D:4F$address;255.255.255.0;192.168.50.1;FILER2;" \
    "$LAB_DEV_B_LOG" || fail "FILER2 got no request with that network's mask and gateway"
fi
# lnkinfo's output is read whole first: `grep -q` stops reading at its match,
# and with pipefail the writer's SIGPIPE would fail the check.
access_info="$(lnkinfo "$access")"
grep -q "Description\s*: IP=$address , Access your Orvane" <<<"$access_info" ||
  fail "access shortcut: $access_info"
# Compared as text, whatever lnkinfo prints after the path.
grep -E "(Local|Network) path" <<<"$access_info" | grep -qF ": \\\\$address" ||
  fail "access shortcut target: $access_info"
# Both launches with the null device (a character device, 2) as their
# standard input, output and error, never the wizard's log file.
expected="explorer \\\\$address (show 1, std 2 2 2)
explorer http://$address (show 1, std 2 2 2)"
[ "$(tr -d '\r' <"$launches" 2>/dev/null)" = "$expected" ] ||
  fail "launches: $(cat "$launches" 2>/dev/null || echo none), expected: $expected"
echo "PASS ($path): $host at $address, both shortcuts, both launches in order;" \
  "the program ended ${ended_ms} ms after the last answer" >&2
