#!/usr/bin/env bash
# The command line program `orvane` on the lab's LAN (run through
# scripts/lab.sh, see CMakeLists.txt): what it prints, what it sends and the
# exit codes, against the simulated devices of each part.
# Usage: cli_lab_test.sh ORVANE list|configure|hostile|loss|nodevice
set -uo pipefail
orvane=$1 part=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Shortcuts land on a desktop of the test's own; the opener is a stand-in
# that writes down what it was asked to open and with which standard input,
# output and error, then stays a while, as a browser would.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config PATH=$work/bin:$PATH
mkdir -p "$HOME/Desktop" "$work/bin"
printf '#!/bin/sh\necho "$1" >> %s/opened\ns=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\necho "$s" >> %s/streams\nexec sleep 5\n' \
  "$work" "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# Runs orvane with ARGS, stdin from $STDIN; keeps $out, $err and $status.
run() {
  "$orvane" "$@" <<<"${STDIN:-}" >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out") err=$(cat "$work/err")
}
status_is() { [[ $status -eq $1 ]] || { echo "exit $status, wanted $1; stderr: $err"; return 1; }; }
has() { [[ $1 == *"$2"* ]] || { echo "not found: $2 in: $1"; return 1; }; }
is() { [[ $1 == "$2" ]] || { echo "got: $1"; return 1; }; }
lacks() { [[ $1 != *"$2"* ]] || { echo "found: $2 in: $1"; return 1; }; }
sent_to() {  # DEVICE TEXT: the device's simulator received a datagram with TEXT
  local log="LAB_DEV_${1^^}_LOG"
  grep -q "RECV .*text=\"$2" "${!log}"
}

case $part in
  list)
    run list
    check "list: exit 0" status_is 0
    check "list: the header and a row a device, in reply order, cells as the list's" \
      [ "$out" = "No.  Reachable?  Host Name  IP Address     HD Name           HD Capacity  HD Available  HD Used %
0    Yes         FILER1     192.168.50.20  DISK-80G          80GB         76.9GB        9%
1    No          FILER2     10.20.30.40    DISK-80G          80GB         76.9GB        9%
2    Yes         NASé       192.168.50.30  No HD Installed!               0             0" ]
    check "list: progress on standard error" has "$err" "Scanning Orvane, please wait..."

    run list --json --wait 2
    check "list --json: exit 0" status_is 0
    check "list --json: three devices" [ "$(grep -c '"number": ' <<<"$out")" -eq 3 ]
    check "list --json: a name that is not UTF-8 is readable, its bytes in hex" has "$out" \
      '"hostName": "NAS�", "hostNameHex": "4e4153e9", "workgroup": "W��", "workgroupHex": "57ff80"'
    check "list --json: every field of a reply" has "$out" \
      '{"number": 1, "reachable": false, "identity": "00:0A:1B:2C:3D:4F", "identityHex": "30303a30413a31423a32433a33443a3446", "ipAddress": "10.20.30.40", "ipAddressHex": "31302e32302e33302e3430", "netmask": "255.255.255.0", "netmaskHex": "3235352e3235352e3235352e30", "gateway": "10.20.30.1", "gatewayHex": "31302e32302e33302e31", "hostName": "FILER2", "hostNameHex": "46494c455232", "workgroup": "WORKGROUP", "workgroupHex": "574f524b47524f5550", "hostNameFull": "FILER2", "hostNameFullHex": "46494c455232", "diskModel": "DISK-80G", "diskModelHex": "4449534b2d383047", "diskCapacity": 156301488, "diskTotal": 76900000, "diskAvailable": 70000000, "capacity": "80GB", "total": "76.9GB", "used": "9%", "adapter": {"name": "eth0", "localAddress": "192.168.50.10"}}'
    check "list --json: nothing but JSON on standard output" [ "${out:0:1}${out: -1}" = "[]" ]

    run check --json --wait 1
    check "check: exit 0 when devices answer" status_is 0
    check "check: the adapter, the port and the replies" has "$out" \
      '{"adapters": [{"name": "eth0", "address": "192.168.50.10", "netmask": "255.255.255.0", "gateway": "192.168.50.1", "up": true, "tried": true, "sent": true, "error": 0}], "portBound": true, "portError": "", "deviceReplies": 3, "otherDatagrams": 0, "selfTest": null, "firewall": null, "causes": []}'

    # Port 12310 held by another program (a second orvane, scanning longer).
    "$orvane" list --wait 6 >/dev/null 2>&1 &
    holder=$!
    sleep 0.5
    run list --wait 1
    check "port taken: exit 5" status_is 5
    check "port taken: said so" has "$err" "Cannot receive replies on UDP port 12310"
    check "port taken: the check names it" has "$err" "UDP port 12310 for the replies"
    wait "$holder"

    STDIN=pw run configure NAS9 --user u --password-stdin --yes --wait 1
    check "no device of that name: exit 3" status_is 3
    check "no device of that name: said so" has "$err" "no device matches 'NAS9' among the 3 found"
    STDIN=pw run shortcuts FILER2 --wait 1
    check "shortcuts for a device that does not answer: exit 1" status_is 1
    check "shortcuts for a device that does not answer: none made" \
      [ -z "$(ls "$HOME/Desktop")" ]

    run list --wait 0
    check "usage: exit 2" status_is 2
    check "usage: said so on standard error" has "$err" "--wait takes whole seconds"
    run configure FILER2 --password vexil
    check "a password on the command line: refused, exit 2" status_is 2
    scans=$(grep -c 'text="0C01S' "$LAB_DEV_A_LOG")
    STDIN=vexil run configure FILER2 --password-stdin --yes
    check "no terminal and no --user: exit 2" status_is 2
    check "no terminal and no --user: refused before any scan" \
      [ "$(grep -c 'text="0C01S' "$LAB_DEV_A_LOG")" -eq "$scans" ]
    run --help
    check "--help: exit 0" status_is 0
    check "--help: the exit codes" has "$out" "4  time-out"
    ;;

  configure)
    STDIN=vexil run configure FILER2 --user vexil --password-stdin --yes
    check "configure: exit 0" status_is 0
    new=$(sed -n 's/^FILER2 (00:0A:1B:2C:3D:4F) is at \(192\.168\.50\.[0-9]*\)$/\1/p' <<<"$out")
    check "configure: the new address on standard output" [ -n "$new" ]
    check "configure: the request the wizard sends" sent_to b \
      "0C02S00:0A:1B:2C:3D:4F$new;255.255.255.0;192.168.50.1;FILER2;WORKGROUP;FILER2;vexil;vexil\""
    check "configure: the password is never shown" lacks "$out$err" "vexil;"
    check "configure: the shortcuts" test -f "$HOME/Desktop/Setup My Orvane - FILER2.lnk" \
      -a -f "$HOME/Desktop/Access My Orvane - FILER2.lnk"
    check "configure: the targets not opened without --open" test ! -e "$work/opened"
    run list --wait 2
    check "configure: the device answers at its new address" \
      has "$out" "Yes         FILER2     $new"

    STDIN=vexil run configure FILER3 --user vexil --password-stdin --yes --address 192.168.50.99
    check "wrong credentials: exit 1" status_is 1
    check "wrong credentials: said so" has "$err" "Username or password error"
    check "--address: the address asked for" sent_to c "0C02S00:0A:1B:2C:3D:50192.168.50.99;"
    STDIN=vexil run configure FILER3 --user vexil --password-stdin --yes --address 10.0.0.5
    check "--address outside this PC's network: exit 2" status_is 2

    # Ctrl-C at the hidden password prompt: the terminal's echo comes back.
    check "Ctrl-C at the password prompt: echo back on" python3 - "$orvane" <<'PY'
import os, pty, signal, sys, termios, time
pid, fd = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], [sys.argv[1], "configure", "FILER3", "--user", "vexil", "--wait", "1"])
seen, start = b"", time.time()
while time.time() - start < 20:
    seen += os.read(fd, 1024)
    if b"[y/N]" in seen: os.write(fd, b"y\n"); seen = b""
    if b"Password" in seen: break
hidden = not termios.tcgetattr(fd)[3] & termios.ECHO
os.write(fd, b"\x03")
_, status = os.waitpid(pid, 0)
echo = bool(termios.tcgetattr(fd)[3] & termios.ECHO)
print("hidden", hidden, "signal", os.WTERMSIG(status) if os.WIFSIGNALED(status) else None, "echo", echo)
sys.exit(0 if hidden and echo and os.WIFSIGNALED(status) and os.WTERMSIG(status) == signal.SIGINT else 1)
PY
    STDIN=vexil run configure FILER5 --user vexil --password-stdin --yes
    check "a forged reply is ignored: the device's own answer counts (exit 1)" status_is 1

    STDIN=vexil run configure FILER6 --user vexil --password-stdin --yes
    check "reply lost, device moved: exit 0" status_is 0
    check "reply lost, device moved: said so" has "$err" \
      "did not confirm its new settings, but it was found at its new IP address"
    check "reply lost, device moved: where it is now" has "$out" "FILER6 (00:0A:1B:2C:3D:53) is at 192.168.50."
    for never in 192.168.50.1 192.168.50.10; do
      STDIN=vexil run configure FILER3 --user vexil --password-stdin --yes --address $never
      check "--address $never: never given, exit 2" status_is 2
      check "--address $never: said why" has "$err" "network or broadcast address"
    done

    # A PC without a desktop folder: the device's outcome decides configure.
    HOME=$work/server STDIN=vexil run configure FILER2 --user vexil --password-stdin --yes
    check "no desktop folder: configure exits 0" status_is 0
    check "no desktop folder: said why on standard error" has "$err" \
      "desktop folder \"$work/server/Desktop\" does not exist"
    HOME=$work/server run shortcuts FILER2
    check "no desktop folder: shortcuts exits 1" status_is 1
    rm "$HOME/Desktop/"*FILER2.lnk
    STDIN=vexil run configure FILER2 --user vexil --password-stdin --yes --no-shortcuts
    check "--no-shortcuts: exit 0" status_is 0
    check "--no-shortcuts: said so" has "$err" "No shortcuts were made"
    check "--no-shortcuts: none made" test ! -e "$HOME/Desktop/Setup My Orvane - FILER2.lnk"

    requests=$(grep -c 'text="0C02S' "$LAB_DEV_A_LOG")
    start=$(date +%s%N)
    out=$("$orvane" shortcuts 192.168.50.20 --open 2>"$work/err")
    status=$? err=$(cat "$work/err")
    check "shortcuts --open in \$(...): back before the openers end" \
      test $((($(date +%s%N) - start) / 1000000)) -lt 4000
    for _ in $(seq 30); do [[ $(wc -l <"$work/streams") -ge 6 ]] 2>/dev/null && break; sleep 0.1; done
    check "shortcuts --open: the openers' streams are the null device" \
      is "$(sort -u "$work/streams" 2>&1)" /dev/null
    check "shortcuts: exit 0" status_is 0
    check "shortcuts: FILER1 stays where it is" has "$out" "FILER1 (00:0A:1B:2C:3D:4E) is at 192.168.50.20"
    check "shortcuts: made" test -f "$HOME/Desktop/Setup My Orvane - FILER1.lnk"
    check "shortcuts: no configuration request" \
      [ "$(grep -c 'text="0C02S' "$LAB_DEV_A_LOG")" -eq "$requests" ]
    # Started in that order, both run on their own: which writes first is theirs.
    check "shortcuts --open: the shared folders and the web page" \
      is "$(sort "$work/opened" 2>&1)" "http://192.168.50.20
smb://192.168.50.20/"

    # A core taken while the password is held (the 30-second wait) holds it
    # nowhere, and the program itself would write none. Not for a sanitized
    # build: its core is terabytes of shadow memory, which takes minutes.
    start=$SECONDS password=Zq7xWv3-PassMark9
    "$orvane" configure FILER4 --user vexil --password-stdin --yes \
      <<<"$password" >"$work/out" 2>"$work/err" &
    pid=$!
    if ! grep -qa __asan_init "$orvane"; then
      for _ in $(seq 100); do sent_to d "0C02S00:0A:1B:2C:3D:51" && break; sleep 0.1; done
      gcore -o "$work/core" "$pid" >/dev/null 2>&1
      check "password held: a core taken" test -s "$work/core.$pid"
      check "password held: not in the core" \
        is "$(grep -c -a -F "$password" "$work/core.$pid")" 0
      check "password held: no core file of its own" \
        grep -qE '^Max core file size +0 +0 ' "/proc/$pid/limits"
      rm -f "$work/core.$pid"
    fi
    wait "$pid"
    status=$? err=$(cat "$work/err")
    check "silent device: exit 4" status_is 4
    check "silent device: after the 30-second wait" test $((SECONDS - start)) -ge 30
    check "silent device: said so" has "$err" "No response from Orvane"
    ;;

  hostile)
    # None of what a terminal would obey reaches it raw, nor a forged row.
    clean() {
      local LC_ALL=C c
      for c in $'\e' $'\r' $'\x9d' $'\xe2\x80\xae' $'\n0    Yes FILER1'; do
        [[ $1 != *"$c"* ]] || { echo "raw $(printf %q "$c") in: $(printf %q "$1")"; return 1; }
      done
    }
    run list
    check "hostile: exit 0" status_is 0
    check "hostile: a header and a line a device" [ "$(wc -l <<<"$out")" -eq 4 ]
    check "hostile: nothing raw" clean "$out$err"
    check "hostile: controls written out, the rest decoded as Windows-1252" \
      has "$out" '0    No          NAS\x1b[2K\x0d\x0a0    Yes FILER1\x9dé  10.20.30.40'
    check "hostile: U+202E written out" has "$out" 'DISK\u202e\x1b[31mgpj.exe'

    run list --json
    check "hostile --json: exit 0" status_is 0
    check "hostile --json: nothing raw" clean "$out"
    check "hostile --json: strict UTF-8 JSON, names readable and exact in hex" python3 -c '
import json, sys
h, u, f = json.loads(open(sys.argv[1], "rb").read().decode("utf-8", "strict"))
assert bytes.fromhex(h["hostNameHex"]) == b"NAS\x1b[2K\r\n0    Yes FILER1\x9d\xe9", h
assert h["hostName"] == "NAS\x1b[2K\r\n0    Yes FILER1\ufffd\ufffd", h
assert u["hostName"] == "DISK\u202e\x1b[31mgpj.exe", u
assert bytes.fromhex(u["hostNameHex"]) == u["hostName"].encode(), u' "$work/out"

    "$orvane" list --wait 1 >/dev/full 2>"$work/err"
    status=$? err=$(cat "$work/err")
    check "list > /dev/full: exit 6" status_is 6
    check "list > /dev/full: said so" has "$err" "orvane: standard output could not be written"
    "$orvane" list --wait 1 >&- 2>"$work/err"
    status=$? err=$(cat "$work/err")
    check "list with standard output closed: exit 6" status_is 6

    run shortcuts 00:0A:1B:2C:3D:61 --wait 1
    check "hostile shortcuts: exit 1" status_is 1
    check "hostile shortcuts: the error names it written out" has "$err" \
      'NAS\x1b[2K\x0d\x0a0    Yes FILER1\x9dé (00:0A:1B:2C:3D:61) does not answer at 10.20.30.40'
    check "hostile shortcuts: nothing raw" clean "$err"

    STDIN=vexil run configure 00:0A:1B:2C:3D:62 --user vexil --password-stdin --yes
    check "hostile configure: sent" sent_to u "0C02S00:0A:1B:2C:3D:62192.168.50."
    check "hostile configure: no shortcut with such a name, exit 1" status_is 1
    check "hostile configure: nothing raw in progress and messages" clean "$out$err"

    # The reader of the output goes after its first line; the run goes on.
    result=$("$orvane" configure FILER2 --user vexil --password-stdin --yes <<<vexil 2>&1 |
      head -1
      echo "${PIPESTATUS[0]}")
    check "output pipe closed: its first line" [ "${result%$'\n'*}" = "Scanning Orvane, please wait..." ]
    check "output pipe closed: configured, the result unwritten: exit 6" [ "${result##*$'\n'}" = 6 ]
    check "output pipe closed: sent once" \
      [ "$(grep -c 'RECV .*text="0C02S00:0A:1B:2C:3D:63' "$LAB_DEV_F_LOG")" -eq 1 ]
    check "output pipe closed: the shortcuts" test -f "$HOME/Desktop/Setup My Orvane - FILER2.lnk" \
      -a -f "$HOME/Desktop/Access My Orvane - FILER2.lnk"
    run list --wait 2
    check "output pipe closed: the device answers at its new address" \
      grep -qE '^[0-9]+ +Yes +FILER2 +192\.168\.50\.' <<<"$out"
    ;;

  loss)
    complete=0 counts=""
    for _ in $(seq 20); do
      run list --json
      listed=$(grep -c '"number": ' <<<"$out")
      counts+="$listed "
      ((listed == 5)) && complete=$((complete + 1))
    done
    echo "loss of 20 % each way, five devices: all five listed in $complete of 20 scans ($counts)"
    check "loss: all five listed in at least 19 of 20 scans" [ "$complete" -ge 19 ]
    ;;

  nodevice)
    run list --wait 1
    check "no device: exit 3" status_is 3
    check "no device: said so" has "$err" "There is no Orvane I can find"
    run list --json --wait 1
    check "no device, JSON: exit 3 and an empty array" has "$status $out" "3 []"
    run check --wait 1
    check "check, no device: exit 3" status_is 3
    check "check, no device: what was checked" has "$out" "Search request sent on eth0."
    check "check, no device: the likely causes" has "$out" "A firewall on this PC may be dropping"
    run check --json --wait 1
    check "check --json, no device: the causes" has "$out" '"causes": ["firewall", "starting", "other-network"]'
    ;;
esac

((failures == 0)) || { echo "$failures failed"; exit 1; }
