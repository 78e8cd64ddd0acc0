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
  valgrind gdb
  clang
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_missing() {
  local missing=() p
  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"
# clang's sanitizer and libFuzzer runtimes (the fuzz preset) come in a package
# named after its major version: libclang-rt-14-dev on Debian 12.
install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
