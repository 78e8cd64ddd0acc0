#!/usr/bin/env bash
# The installer under Wine, in a network namespace of its own:
#
#   tests/windows/installer_check.sh <windows build dir>
#
# in Wine's locale C, then zh_TW, silent install ("/S /DESKTOPICON") twice: the
# program, the Start-menu entries, the desktop icon and the uninstall entry are
# there in the installer's language, netsh deleted the firewall rule then added
# it, and the installed program shows Step 0; silent uninstall in the other
# locale: netsh deleted the rule, and every file and folder the install added is
# gone again, and so is the uninstall entry. The prefix is seen through an
# overlay that is thrown away afterwards. Needs root (exit 77 without).
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
# Waits until this namespace runs no Wine program but Wine's services and
# desktop, then ends the server (which saves the registry): a desktop started
# for a program gone before it was up keeps the server from ending by itself.
settle() {
  while [ -n "$(for pid in $(pgrep --ns $$ --nslist net .); do
    readlink "/proc/$pid/exe" | grep -qE '/wine64(-preloader)?$' && ! grep -qaE \
      '^C:\\windows\\system32\\(services|winedevice|plugplay|svchost|explorer|rpcss)\.exe' \
      "/proc/$pid/cmdline" && echo "$pid"
  done 2>/dev/null)" ]; do sleep 0.2; done
  wineserver -k 2>/dev/null || true
  wineserver -w
}
# Wine takes the user's language from the locale, made here for Wine alone.
mkdir "$work/locale"
localedef -i zh_TW -f UTF-8 --no-archive "$work/locale/zh_TW.UTF-8"
wine_in() { env LOCPATH="$work/locale" LC_ALL="$1" "$root/scripts/wine-run.sh" "${@:2}"; }
cp "$build/tests/windows/orvane-win-record-launch.exe" "$prefix/drive_c/windows/system32/netsh.exe"
export WINEDLLOVERRIDES="netsh.exe=n"
netsh_was() { # <the command lines expected> <after what>
  calls="$(sed 's/\r$//; s/ (show [0-9]*, std [0-9 ]*)$//' "$prefix/drive_c/orvane-launches.txt" || true)"
  rm -f "$prefix/drive_c/orvane-launches.txt"
  [ "$calls" = "$1" ] || fail "$2: netsh was called so: $calls"
}
delete='"C:\windows\system32\netsh.exe" advfirewall firewall delete rule name="Orvane Setup (UDP 12310)"'
add="${delete/delete/add} dir=in action=allow program=\"C:\\Program Files\\Orvane Setup\\orvane-setup.exe\" \
protocol=UDP localport=12310 profile=any enable=yes"

# Both programs' version information and manifest (its quoted pieces joined).
for program in "$build/dist/orvane-setup/orvane-setup.exe" "$build/cli/orvane.exe"; do
  rc="$(x86_64-w64-mingw32-windres -J coff -O rc -i "$program")"
  rc+="$(sed -n '/RT_MANIFEST/,/^END/s/^ *"\(.*\)"$/\1/p' <<<"$rc" | tr -d '\n' | sed 's/""/"/g')"
  for want in 'FILEVERSION 2, 0, 0, 0' '"ProductName", "Orvane Setup"' '"ProductVersion", "2.0"' \
    '"CompanyName", "Orvane"' '"FileDescription", "Orvane Setup ' '"LegalCopyright", "' RT_GROUP_ICON \
    'level="asInvoker"' '>true/pm<' '>PerMonitorV2, PerMonitor<' 'Common-Controls" version="6.0.0.0"' \
    '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
    '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    grep -qF -- "$want" <<<"$rc" || fail "${program##*/}: no $want"
  done
  ! grep -q '<activeCodePage' <<<"$rc" || fail "${program##*/}: the manifest sets the code page"
done

wine wineboot >/dev/null 2>&1
settle
snapshot >"$work/before"
installed="$prefix/drive_c/Program Files/Orvane Setup"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvane Setup"
# locale, the other one, the installer's language id, its uninstall entry's name
for round in "C.UTF-8 zh_TW.UTF-8 1033 Uninstall Orvane Setup" "zh_TW.UTF-8 C.UTF-8 1028 解除安裝 Orvane Setup"; do
  read -r locale other id uninstall <<<"$round"
  for _ in 1 2; do
    wine_in "$locale" "$installer" /S /DESKTOPICON
    settle
    netsh_was "$delete"$'\n'"$add" "$locale: installed"
  done
  for f in "$installed/orvane-setup.exe" "$installed/platforms/qwindows.dll" "$installed/uninstall.exe" \
    "$menu/Orvane Setup.lnk" "$menu/$uninstall.lnk" \
    "$prefix/drive_c/users/Public/Desktop/Orvane Setup.lnk"; do
    [ -f "$f" ] || fail "not installed: ${f#"$prefix/"} ($(cd "$prefix/drive_c" && find . -newer "$work/before" -type f | head -20))"
  done
  grep -q 'Uninstall\\\\OrvaneSetup' "$prefix/system.reg" || fail "no uninstall entry"
  grep -q '"DisplayVersion"="2.0"' "$prefix/system.reg" || fail "uninstall entry without version 2.0"
  grep -q "\"Installer Language\"=\"$id\"" "$prefix/system.reg" || fail "$locale: not installed in language $id"

  wine explorer /desktop=Default,1600x1200 >/dev/null 2>&1 &
  WINEQT_QPA_PLATFORM="windows:fontengine=freetype" wine "$installed/orvane-setup.exe" >/dev/null 2>&1 &
  wine "$build/tests/windows/orvane-win-wait-window.exe" "Step 0" 60000 ||
    fail "the installed program did not show Step 0"
  wineserver -k
  sleep 1

  wine_in "$other" "$installed/uninstall.exe" /S
  settle
  netsh_was "$delete" "$locale: uninstalled"
  snapshot >"$work/after"
  left="$(diff "$work/before" "$work/after" || true)"
  [ -z "$left" ] || fail "the uninstall left or removed: $left"
  grep -q 'Uninstall\\\\OrvaneSetup' "$prefix/system.reg" && fail "the uninstall entry stayed"
done
echo "PASS (installer): silent install (twice) with the firewall rule, Step 0 from the installed program, silent uninstall leaves nothing, in English and Traditional Chinese" >&2
