#!/usr/bin/env bash
# Screenshots of every window of the wizard, taken under a virtual X server
# (Xvfb) at 100% and 200%, into docs/screenshots/ (or the folder given).
#
#   scripts/screenshots.sh [OUTDIR] [--scales "1 1.5 2"] [--all-chinese]
#
# The tool opens each page with inert services (nothing is sent, nothing is
# probed), and it runs inside a network namespace of its own as well, so
# even a mistake could not reach this machine's network.
set -euo pipefail
cd "$(dirname "$0")/.."

out=docs/screenshots
scales="1 2"
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --scales) scales="$2"; shift 2 ;;
    --all-chinese) extra+=(--all-chinese); shift ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) out="$1"; shift ;;
  esac
done

build=${BUILD_DIR:-build/dev}
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target orvane-screenshots >/dev/null
tool="$PWD/$build/tools/screenshots/orvane-screenshots"
mkdir -p "$out"

# Only the wizard's own look: no desktop theme, no user font settings.
export QT_QPA_PLATFORMTHEME= QT_QPA_PLATFORM=xcb
unset QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work"

# A virtual X server on a free display number, which it reports itself. The
# tool reaches it over its Unix socket, also from inside its own namespace.
Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n 1 "$work/display")"

# unshare needs root; without it the inert services alone keep the tool quiet.
isolate=()
if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
  isolate=(unshare --net --)
fi

for scale in $scales; do
  suffix="-$(awk -v s="$scale" 'BEGIN { printf "%d", s * 100 }')"
  "${isolate[@]}" env QT_SCALE_FACTOR="$scale" "$tool" "$out" --suffix "$suffix" "${extra[@]}"
done
