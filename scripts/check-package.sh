#!/usr/bin/env bash
# Checks the Debian package as a user meets it. Builds it from the ci build
# (cpack --preset deb), validates its desktop entry and AppStream metadata,
# runs lintian (fails on an error, prints every other tag), then installs it
# with apt-get into a fresh Debian root made by mmdebstrap, starts the installed
# /usr/bin/orvane-setup under Xvfb in a network namespace of its own and waits
# for Step 0 on screen, and removes it again, leaving none of its files.
#
# A fresh root rather than this machine: here the build has already installed
# every library the program needs, so a dependency the package forgot would go
# unnoticed; in a fresh root apt has only the package's own word to go by, and
# throwing the root away leaves this machine as it was.
#
# Needs root (mmdebstrap, chroot, namespaces) and Debian's package archive;
# without root it is skipped (77). Run after `cmake --build --preset ci`.
set -euo pipefail
cd "$(dirname "$0")/.."

[ "$(id -u)" -eq 0 ] || { echo "package check skipped: needs root"; exit 77; }
build=build/ci
waiter=$build/tools/screenshots/orvane-wait-window
[ -x "$build/wizard/orvane-setup" ] && [ -x "$waiter" ] || {
  echo "build the ci preset first: cmake --preset ci && cmake --build --preset ci" >&2
  exit 1
}

tools=(mmdebstrap lintian desktop-file-utils appstream)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d /tmp/orvane-package.XXXXXX)
cleanup() { rm -rf --one-file-system "$work"; }
trap cleanup EXIT
started=$SECONDS
step() { printf '== %s (%ds)\n' "$1" $((SECONDS - started)); }

step "building the package"
rm -f "$build"/orvane-setup_*.deb
cpack --preset deb >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
debs=("$build"/orvane-setup_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "cpack made no package"; cat "$work/cpack.log"; exit 1; }
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb" | awk '{print $6}'

step "validating the desktop entry and the AppStream metadata"
dpkg-deb --extract "$deb" "$work/pkg"
desktop-file-validate "$work/pkg/usr/share/applications/com.orvane.setup.desktop"
appstreamcli validate --no-net --pedantic \
  "$work/pkg/usr/share/metainfo/com.orvane.setup.metainfo.xml"

step "lintian"
lintian --fail-on error --display-level '>=pedantic' --tag-display-limit 0 "$deb" \
  || { echo "lintian found errors"; exit 1; }

step "making a fresh Debian root"
# The release this machine runs, from the archives it installs from: the
# package's dependencies were computed against its libraries.
. /etc/os-release
sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -s "$f" ] && sources+=("$f")
done
root=$work/root
mmdebstrap --quiet --variant=apt --mode=root "$VERSION_CODENAME" "$root" "${sources[@]}"

# Runs a command in the root, with /proc and the X server's sockets, in a mount
# namespace of its own, so nothing stays mounted when it ends.
in_root() {
  unshare --mount --fork -- sh -c '
    root=$1; shift
    mount -t proc proc "$root/proc"
    mount --bind /dev/pts "$root/dev/pts"
    mkdir -p "$root/tmp/.X11-unix"
    [ -d /tmp/.X11-unix ] && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    exec chroot "$root" "$@"' in_root "$root" "$@"
}

step "installing it with apt-get"
cp "$deb" "$root/tmp/"
# mmdebstrap leaves the root without package lists.
in_root apt-get update -q >"$work/update.log" || { cat "$work/update.log"; exit 1; }
# Without the recommended packages: what the package depends on must be enough
# to start it (and it keeps the check to a minute or two).
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  "/tmp/$(basename "$deb")" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
echo "apt-get installed $(grep -c '^Setting up' "$work/install.log") packages"
in_root dpkg -s orvane-setup | grep -E '^(Status|Version|Depends|Recommends):'

step "starting the installed orvane-setup"
# startup_smoke.sh starts the wizard under Xvfb inside unshare --net; here the
# wizard is the one installed in the root.
{
  echo '#!/usr/bin/env bash'
  declare -f in_root
  printf 'root=%q\n' "$root"
  echo 'export HOME=/root XDG_RUNTIME_DIR=/tmp'
  echo 'in_root /usr/bin/orvane-setup'
} >"$work/installed-wizard"
chmod +x "$work/installed-wizard"
tests/wizard/startup_smoke.sh "$work/installed-wizard" "$waiter"

step "removing it"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' \
  >"$work/files"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q --autoremove orvane-setup \
  >"$work/remove.log" || { cat "$work/remove.log"; exit 1; }
status=$(in_root dpkg-query -W -f='${db:Status-Status}' orvane-setup 2>/dev/null || true)
if [ -n "$status" ] && [ "$status" != not-installed ]; then
  echo "orvane-setup is still known to dpkg: $status"; exit 1
fi
left=0
while read -r f; do
  if [ -e "$root$f" ] || [ -L "$root$f" ]; then echo "left behind: $f"; left=1; fi
done <"$work/files"
[ "$left" -eq 0 ] || exit 1
echo "removed: none of its $(wc -l <"$work/files") files is left"

step "package check passed"
