#!/usr/bin/env bash
# The installer under Wine, in a network namespace of its own:
#
#   tests/windows/installer_check.sh <windows build dir>
#
# silent install ("/S /DESKTOPICON"): the program, the Start-menu entries, the
# desktop icon and the uninstall entry are there, and the installed program
# shows Step 0; silent uninstall: every file and folder the install added is
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
settle() { wineserver -w; }

wine wineboot >/dev/null 2>&1
settle
snapshot >"$work/before"

wine "$installer" /S /DESKTOPICON
settle
installed="$prefix/drive_c/Program Files/Orvane Setup"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvane Setup"
for f in "$installed/orvane-setup.exe" "$installed/platforms/qwindows.dll" "$installed/uninstall.exe" \
  "$menu/Orvane Setup.lnk" "$menu/Uninstall Orvane Setup.lnk" \
  "$prefix/drive_c/users/Public/Desktop/Orvane Setup.lnk"; do
  [ -f "$f" ] || fail "not installed: ${f#"$prefix/"} ($(cd "$prefix/drive_c" && find . -newer "$work/before" -type f | head -20))"
done
grep -q 'Uninstall\\\\OrvaneSetup' "$prefix/system.reg" || fail "no uninstall entry"
grep -q '"DisplayVersion"="2.0"' "$prefix/system.reg" || fail "uninstall entry without version 2.0"

wine explorer /desktop=Default,1600x1200 >/dev/null 2>&1 &
WINEQT_QPA_PLATFORM="windows:fontengine=freetype" wine "$installed/orvane-setup.exe" >/dev/null 2>&1 &
wine "$build/tests/windows/orvane-win-wait-window.exe" "Step 0" 60000 ||
  fail "the installed program did not show Step 0"
wineserver -k
sleep 1

wine "$installed/uninstall.exe" /S
settle
snapshot >"$work/after"
left="$(diff "$work/before" "$work/after" || true)"
[ -z "$left" ] || fail "the uninstall left or removed: $left"
grep -q 'Uninstall\\\\OrvaneSetup' "$prefix/system.reg" && fail "the uninstall entry stayed"
echo "PASS (installer): silent install, Step 0 from the installed program, silent uninstall leaves nothing" >&2
