#!/usr/bin/env bash
# Our .lnk writer against the shell's: the same two shortcuts (target,
# description, icon, working folder) written by the Linux build's
# orvane-write-link and by the Windows build's under Wine (IShellLinkW), then
# both read by lnkinfo and printed side by side, with the files' flags; then
# both read back by the shell's link object (orvane-win-read-link).
#
#   tests/windows/compare_lnk.sh <linux orvane-write-link> <windows build dir>
#
# Wine runs in a network namespace of its own (scripts/wine-run.sh). Root.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
ours="$1"
theirs="$(cd "$2" && pwd)/tools/write_link/orvane-write-link.exe"
reader="$(cd "$2" && pwd)/tests/windows/orvane-win-read-link.exe"
out="$(mktemp -d)"
folder='C:\users\root\Desktop'
while read -r name target description icon; do
  description="${description//_/ }"
  icon="${icon//_/ }"
  "$ours" "$out/$name-ours.lnk" "$target" "$description" "$icon" "$folder"
  "$root/scripts/wine-run.sh" "$theirs" "Z:${out//\//\\}\\$name-shell.lnk" "$target" "$description" \
    "$icon" "$folder" 2>/dev/null
  for who in ours shell; do
    f="$out/$name-$who.lnk"
    printf 'LinkFlags 0x%s, %s bytes\n' "$(xxd -s 20 -l 4 -e "$f" | awk '{print $2}')" \
      "$(stat -c %s "$f")" >"$f.txt"
    lnkinfo "$f" | sed -n '3,$p' | grep -v '^\s*$' >>"$f.txt"
  done
  echo "== $name: ours (left), the shell's under Wine (right), read by lnkinfo"
  diff -y -W 140 "$out/$name-ours.lnk.txt" "$out/$name-shell.lnk.txt" || true
  echo "== $name: ours (left), the shell's (right), read by the shell's link object under Wine"
  for who in ours shell; do
    "$root/scripts/wine-run.sh" "$reader" "Z:${out//\//\\}\\$name-$who.lnk" 2>/dev/null |
      tr -d '\r' >"$out/$name-$who.read"
  done
  diff -y -W 140 "$out/$name-ours.read" "$out/$name-shell.read" || true
done <<'EOF'
setup http://192.168.50.20 IP=192.168.50.20_,_Manage_your_Orvane SHELL32.dll,_15
access \\192.168.50.20 IP=192.168.50.20_,_Access_your_Orvane SHELL32.dll,_9
EOF
rm -rf "$out"
