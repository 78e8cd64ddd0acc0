# Sourced by the Windows test scripts that start Wine programs themselves, once
# they are inside a mount (and network) namespace of their own.
#
#   wine_session_start WORK [OVERLAY-NAME]
#
# WORK is a scratch folder. The wine server's socket folder becomes a private
# tmpfs, so this session's server is its own. The prefix is WINEPREFIX's or the
# Windows cache's; with OVERLAY-NAME it is seen through an overlay kept in
# WORK, so that nothing the session writes stays in it. Xvfb is started and
# DISPLAY exported; wine_session_stop (for a trap) ends the server and Xvfb.
# `wine` runs a program through scripts/wine-run.sh.

wine_session_start() {
  local work="$1" overlay="${2:-}"
  local deps="${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane-setup/windows}"
  prefix="${WINEPREFIX:-$deps/wine-prefix}"
  if [ -n "$overlay" ]; then
    [ -f "$prefix/.orvane-prepared" ] || { echo "no prepared Wine prefix at $prefix" >&2; exit 1; }
    mkdir "$work/upper" "$work/work"
    mount -t overlay -o "lowerdir=$prefix,upperdir=$work/upper,workdir=$work/work" "$overlay" "$prefix"
  fi
  mkdir -p "/tmp/.wine-$(id -u)"
  mount -t tmpfs -o mode=700 orvane-wine "/tmp/.wine-$(id -u)"
  export WINEPREFIX="$prefix" ORVANE_WINE_SHARED_SERVER=1
  Xvfb -displayfd 5 -nolisten tcp -screen 0 1600x1200x24 5>"$work/display" >/dev/null 2>&1 &
  wine_session_xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  DISPLAY=":$(cat "$work/display")"
  export DISPLAY
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  kill "${wine_session_xvfb:-}" 2>/dev/null || true
}

wine() { "$root/scripts/wine-run.sh" "$@"; }
