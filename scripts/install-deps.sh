#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build, the wizard and the tests need,
# but only those that are missing. Safe to run again and again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libxcb1-dev
  iproute2 procps nftables
  liblnk-utils
  fonts-dejavu-core fonts-noto-cjk fonts-liberation
  xdg-utils
  valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
