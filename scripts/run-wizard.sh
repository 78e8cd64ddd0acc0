#!/usr/bin/env bash
# Installs what is missing, builds, and starts the wizard on this PC.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target orvane-setup
exec build/dev/wizard/orvane-setup "$@"
