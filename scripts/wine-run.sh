#!/usr/bin/env bash
# Runs one Windows program under Wine, never on this machine's own network:
#
#   scripts/wine-run.sh <program.exe> [arguments...]
#
# The windows preset makes it the cross-compiling emulator, so ctest runs every
# Windows test binary (and lists its tests) through it.
#
# Wine pings and broadcasts like the real thing, and its sockets, ICMP and
# adapter queries are made by the wine server and its driver processes, not by
# the program: they live in the network namespace where the server started.
# So:
#  - Called in the machine's own network namespace, it re-runs itself under
#    `unshare --net --mount` (only lo, brought up) with a private wine-server
#    folder, so the server and its drivers start inside that namespace too, and
#    stops that server when the program ends.
#  - Called inside a namespace that someone else made (the lab's PC, or an
#    `unshare --net` around a whole test run), it still takes a private server
#    folder unless ORVANE_WINE_SHARED_SERVER=1 says the caller made one for
#    this namespace (scripts/test-windows.sh does, so the tests share one warm
#    server).
#
# Wine drops host variables that start with QT_ and hands WINEQT_* on as QT_*:
# every QT_* variable is passed that way. Qt's messages go to the debugger
# channel, which Wine does not show, unless forced to stderr.
#
# A test run that runs nothing must not pass: a GoogleTest run of one test
# (--gtest_filter without wildcards' help) that exits 0 without an "[       OK ]"
# line fails here (exit 1), for instance when Wine could not load the program's
# DLLs and nothing ran.
#
# WINEPREFIX defaults to $ORVANE_WINDOWS_DEPS/wine-prefix (made on first use).
set -euo pipefail

self="$(readlink -f "$0")"
uid="$(id -u)"
server_dir="/tmp/.wine-$uid"

in_own_netns() {
  [ "$(readlink /proc/self/ns/net)" != "$(readlink /proc/1/ns/net)" ]
}

if [ "${ORVANE_WINE_INNER:-}" != 1 ]; then
  if [ "$uid" -ne 0 ]; then
    echo "wine-run.sh: needs root to make its network namespace" >&2
    exit 77
  fi
  if in_own_netns && [ "${ORVANE_WINE_SHARED_SERVER:-}" = 1 ]; then
    export ORVANE_WINE_INNER=1 ORVANE_WINE_PRIVATE=0
  elif in_own_netns; then
    exec env ORVANE_WINE_INNER=1 ORVANE_WINE_PRIVATE=1 unshare --mount -- "$self" "$@"
  else
    exec env ORVANE_WINE_INNER=1 ORVANE_WINE_PRIVATE=1 ORVANE_WINE_LO_UP=1 \
      unshare --net --mount -- "$self" "$@"
  fi
fi

# From here on: inside a network namespace that is not the machine's.
if ! in_own_netns; then
  echo "wine-run.sh: refusing to run Wine in the machine's network namespace" >&2
  exit 1
fi
if [ "${ORVANE_WINE_LO_UP:-}" = 1 ]; then
  ip link set lo up
fi
if [ "${ORVANE_WINE_PRIVATE:-}" = 1 ]; then
  mkdir -p "$server_dir"
  mount -t tmpfs -o mode=700 orvane-wine "$server_dir"
fi

deps="${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-setup/windows}"
export WINEPREFIX="${WINEPREFIX:-$deps/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts when a prefix is made, and no menu
# builder: it would copy every Start-menu and desktop shortcut made under Wine
# into this machine's own menus and desktop ($HOME/.local, $HOME/.config).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml=;winemenubuilder.exe=d"
export WINEQT_FORCE_STDERR_LOGGING=1
# The Qt and MinGW runtime DLLs, where Windows would find them beside the
# program; Qt finds its plugins from Qt6Core.dll's own folder.
gcc_runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
# ORVANE_WINE_DEPLOYED=1: the program brings its own (the zip's folder).
if [ "${ORVANE_WINE_DEPLOYED:-}" != 1 ]; then
  export WINEPATH="Z:$deps/qt6-mingw/bin;Z:$gcc_runtime;Z:/usr/x86_64-w64-mingw32/lib${WINEPATH:+;$WINEPATH}"
fi
while IFS='=' read -r name _; do
  case "$name" in
    QT_*)  # a WINEQT_ variable given by the caller wins
      wine_name="WINE$name"
      [ -n "${!wine_name:-}" ] || export "$wine_name=${!name}"
      ;;
  esac
done < <(env)

# The prefix, made once: Wine links the user's folders (Desktop, Documents...)
# to $HOME, and shortcuts written under Wine must not land on this machine's
# own desktop, so they become folders of the prefix. Wine's virtual desktop
# spares the two seconds every hidden window takes on a bare X server.
if [ ! -f "$WINEPREFIX/.orvane-prepared" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
  # A crash ends the program instead of waiting in the debugger.
  wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
    >/dev/null 2>&1 || true
  wineserver -w
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm "$link"
      mkdir "$link"
    fi
  done
  touch "$WINEPREFIX/.orvane-prepared"
fi

program="$1"
shift
status=0
one_test=0
for arg in "$@"; do
  case "$arg" in --gtest_filter=*) one_test=1 ;; esac
done
if [ "$one_test" = 1 ]; then
  out="$(mktemp)"
  set +o pipefail
  # On a loaded machine Wine now and then fails to start a program at all: it
  # ends at once and no test has begun. That start, and only that, is tried
  # once more; a test that ran and failed is never run again.
  for attempt in 1 2; do
    wine "$program" "$@" 2>&1 | tee "$out"
    status="${PIPESTATUS[0]}"
    grep -q '^\[ RUN      \]' "$out" && break
    [ "$attempt" = 1 ] && echo "wine-run.sh: no test began (status $status); starting it once more" >&2
  done
  if [ "$status" -eq 0 ] && ! grep -q '^\[       OK \]' "$out"; then
    echo "wine-run.sh: the run exited 0 but no test ran" >&2
    status=1
  fi
  rm -f "$out"
elif [ "${1:-}" = --gtest_list_tests ]; then
  # ctest lists the tests this way. The same failed start shows as an exit
  # with nothing printed at all (a program that started prints its tests);
  # that start is tried once more as well.
  out="$(mktemp)" err="$(mktemp)"
  for attempt in 1 2; do
    status=0
    wine "$program" "$@" >"$out" 2>"$err" || status=$?
    { [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; } && break
    [ "$attempt" = 1 ] && echo "wine-run.sh: the listing printed nothing (status $status); starting it once more" >&2
  done
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
else
  wine "$program" "$@" || status=$?
fi

if [ "${ORVANE_WINE_PRIVATE:-}" = 1 ]; then
  wineserver -k 2>/dev/null || true
fi
exit "$status"
