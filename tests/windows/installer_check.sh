#!/usr/bin/env bash
# The installer under Wine, in a network namespace of its own:
#
#   tests/windows/installer_check.sh <windows build dir>
#
# in English and then in Traditional Chinese (Wine's locale en or zh_TW), a
# silent install ("/S /DESKTOPICON"): the program, the Start-menu entries in
# the installer's language, the desktop icon and the uninstall entry with the
# language are there, and the firewall rule was added, after the one of that
# name was deleted; the installed program shows Step 0 (English round), and an
# install over it does the same again. A silent uninstall, started in the
# other language's locale: every file and folder the install added is gone
# again (the Start-menu entry's name is the installer's language), and so are
# the uninstall entry and the firewall rule. Windows' netsh.exe is a stand-in
# that records its command lines (orvane-win-record-launch). The prefix is seen
# through an overlay that is thrown away afterwards, stand-in and all. Needs
# root (exit 77 without).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
if [ "$(id -u)" -ne 0 ]; then
  echo "installer_check.sh: needs root" >&2
  exit 77
fi
if [ "${ORVANE_INSTALLER_INNER:-}" != 1 ]; then
  exec env ORVANE_INSTALLER_INNER=1 unshare --net --mount -- "$0" "$@"
fi
ip link set lo up

installer="$(ls "$build"/dist/orvane-setup-*-installer.exe)"
work="$(mktemp -d)"
. "$here/wine_session.sh"
wine_session_start "$work" orvane-inst
trap wine_session_stop EXIT
export ORVANE_WINE_DEPLOYED=1
fail() {
  echo "FAIL (installer): $*" >&2
  exit 1
}
# Everything under C:\ but the temporary folders and the registry's own files.
snapshot() {
  (cd "$prefix/drive_c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune \
    -o -path '*/AppData/Local/Temp' -prune -o -print | sort)
}
# Waits until no program runs in this namespace but Wine's own services and
# desktop, then ends the server, which saves the registry. The server does not
# always end by itself: a desktop that Wine starts for a program that is gone
# before the desktop is up stays, and so do the server and its services.
settle() {
  local ns pid busy=1
  ns="$(readlink /proc/self/ns/net)"
  while [ "$busy" = 1 ]; do
    busy=0
    for pid in $(pgrep -f '^[A-Z]:\\'); do
      [ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" = "$ns" ] || continue
      tr "\\0" " " <"/proc/$pid/cmdline" 2>/dev/null |
        grep -qE '^C:\\windows\\system32\\(services|winedevice|plugplay|svchost|explorer|rpcss)\.exe' || busy=1
    done
    sleep 0.2
  done
  wineserver -k 2>/dev/null || true
  wineserver -w
}

# Wine takes the user's language from the locale; zh_TW is made here, for
# Wine's processes alone.
mkdir "$work/locale"
localedef -i zh_TW -f UTF-8 --no-archive "$work/locale/zh_TW.UTF-8"
# wine_in <en|zh> <program> [arguments...]
wine_in() {
  local locale=C.UTF-8
  [ "$1" = zh ] && locale=zh_TW.UTF-8
  shift
  env LOCPATH="$work/locale" LC_ALL="$locale" "$root/scripts/wine-run.sh" "$@"
}
cp "$build/tests/windows/orvane-win-record-launch.exe" "$prefix/drive_c/windows/system32/netsh.exe"
export WINEDLLOVERRIDES="netsh.exe=n"
# netsh_was <the calls expected, one a line> <after what>
netsh_was() {
  local log="$prefix/drive_c/orvane-launches.txt" calls
  calls="$(sed 's/\r$//; s/ (show [0-9]*)$//' "$log" 2>/dev/null || true)"
  rm -f "$log"
  [ "$calls" = "$1" ] || fail "$2: netsh was called so: $calls"
}
firewall='"C:\windows\system32\netsh.exe" advfirewall firewall'
delete="$firewall delete rule name=\"Orvane Setup (UDP 12310)\""
add="$firewall add rule name=\"Orvane Setup (UDP 12310)\" dir=in action=allow \
program=\"C:\\Program Files\\Orvane Setup\\orvane-setup.exe\" protocol=UDP localport=12310 \
profile=any enable=yes"

wine wineboot >/dev/null 2>&1
settle
snapshot >"$work/before"
installed="$prefix/drive_c/Program Files/Orvane Setup"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvane Setup"

# language, the other one, its language id, its Start-menu uninstall entry
for round in "en zh 1033 Uninstall Orvane Setup" "zh en 1028 解除安裝 Orvane Setup"; do
  read -r language other id uninstall_link <<<"$round"
  wine_in "$language" "$installer" /S /DESKTOPICON
  settle
  for f in "$installed/orvane-setup.exe" "$installed/platforms/qwindows.dll" "$installed/uninstall.exe" \
    "$menu/Orvane Setup.lnk" "$menu/$uninstall_link.lnk" \
    "$prefix/drive_c/users/Public/Desktop/Orvane Setup.lnk"; do
    [ -f "$f" ] || fail "$language: not installed: ${f#"$prefix/"} ($(cd "$prefix/drive_c" && find . -newer "$work/before" -type f | head -20))"
  done
  grep -q 'Uninstall\\\\OrvaneSetup' "$prefix/system.reg" || fail "$language: no uninstall entry"
  grep -q '"DisplayVersion"="2.0"' "$prefix/system.reg" || fail "$language: uninstall entry without version 2.0"
  grep -q "\"Installer Language\"=\"$id\"" "$prefix/system.reg" || fail "$language: not installed in language $id"
  netsh_was "$delete"$'\n'"$add" "$language: installed"

  if [ "$language" = en ]; then
    wine explorer /desktop=Default,1600x1200 >/dev/null 2>&1 &
    WINEQT_QPA_PLATFORM="windows:fontengine=freetype" wine "$installed/orvane-setup.exe" >/dev/null 2>&1 &
    wine "$build/tests/windows/orvane-win-wait-window.exe" "Step 0" 60000 ||
      fail "the installed program did not show Step 0"
    wineserver -k
    sleep 1
    wine_in en "$installer" /S /DESKTOPICON
    settle
    netsh_was "$delete"$'\n'"$add" "installed again"
  fi

  wine_in "$other" "$installed/uninstall.exe" /S
  settle
  netsh_was "$delete" "$language: uninstalled"
  snapshot >"$work/after"
  left="$(diff "$work/before" "$work/after" || true)"
  [ -z "$left" ] || fail "$language: the uninstall left or removed: $left"
  grep -q 'Uninstall\\\\OrvaneSetup' "$prefix/system.reg" && fail "$language: the uninstall entry stayed"
done
echo "PASS (installer): silent install (twice) with the firewall rule, Step 0 from the installed program, silent uninstall leaves nothing, in English and Traditional Chinese" >&2
