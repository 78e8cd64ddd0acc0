#!/usr/bin/env bash
# Makes the Windows distributables from a windows-preset build:
#
#   scripts/windows-dist.sh <build dir>   prints the program, the zip and the
#                                         installer, one a line
#
# The folder that is zipped and installed holds orvane-setup.exe and exactly
# what it needs, found by walking the import tables (objdump -p) from the
# program down: every DLL that is not part of Windows itself is taken from the
# Qt or MinGW folders, and its own imports walked in turn. Plugins are not
# imports; Qt loads them by the modules in use, as Qt's own deployment tool
# decides: Qt6Gui brings the Windows platform plugin and Qt6Widgets the
# native style plugin, and their imports are walked too. Everything is
# stripped.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="$(cd "$1" && pwd)"
deps="${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-setup/windows}"
qt="$deps/qt6-mingw"
gcc_runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
search=("$qt/bin" "$gcc_runtime" /usr/x86_64-w64-mingw32/lib)
version="$(sed -n 's/^project(OrvaneSetup VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
program="$build/wizard/orvane-setup.exe"
dist="$build/dist"
stage="$dist/orvane-setup"
[ -f "$program" ] || { echo "windows-dist: no $program" >&2; exit 1; }

rm -rf "$dist"
mkdir -p "$stage"

imports() {
  x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'
}

# Finds a DLL (case-insensitively, as Windows does) in the search folders;
# prints nothing for a DLL of Windows itself.
find_dll() {
  local dir found
  for dir in "${search[@]}"; do
    found="$(find "$dir" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)"
    if [ -n "$found" ]; then
      echo "$found"
      return
    fi
  done
}

declare -A taken=()
# deploy <file> <folder in the stage>
deploy() {
  local file="$1" into="$2" dll found
  mkdir -p "$stage/$into"
  install -m 644 "$file" "$stage/$into/"
  for dll in $(imports "$file"); do
    [ -n "${taken[${dll,,}]:-}" ] && continue
    found="$(find_dll "$dll")"
    [ -n "$found" ] || continue
    taken[${dll,,}]=1
    deploy "$found" .
  done
}

deploy "$program" .
chmod 755 "$stage/orvane-setup.exe"
[ -n "${taken[qt6gui.dll]:-}" ] && deploy "$qt/plugins/platforms/qwindows.dll" platforms
[ -n "${taken[qt6widgets.dll]:-}" ] && deploy "$qt/plugins/styles/qwindowsvistastyle.dll" styles
find "$stage" \( -iname '*.dll' -o -iname '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

zip="$dist/orvane-setup-$version-windows-x64.zip"
(cd "$dist" && zip -qr -X "$zip" orvane-setup)

# The uninstaller deletes exactly the files installed, then their folders.
(
  cd "$stage"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) > "$stage.uninstall.nsh"

installer="$dist/orvane-setup-$version-windows-x64-installer.exe"
makensis -V1 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$installer" \
  -DICON="$root/resources/images/orvane.ico" "$root/installer/orvane-setup.nsi" >&2

echo "$stage/orvane-setup.exe"
echo "$zip"
echo "$installer"
