#!/usr/bin/env bash
# Cross-compiles the core (the text table, host network, desktop, and the device
# codec and setup run) for Windows with MinGW-w64, warnings as errors, so the
# *_win.cpp files are checked on every change even though they cannot run here.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq g++-mingw-w64-x86-64-posix
fi
cmake --preset win-core
cmake --build --preset win-core
