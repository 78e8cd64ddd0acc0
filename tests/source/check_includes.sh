#!/usr/bin/env bash
# Every include of the project's own headers names them from the top of the
# tree ("device/codec.h"), never by a path that climbs out of a folder
# ("../device/codec.h"), which would step around the layers the build
# enforces. Prints each offending line; fails when there is one.
set -euo pipefail
cd "$1"
if found=$(git ls-files -- '*.cpp' '*.h' '*.in' | xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]*\.\./' 2>/dev/null); then
  echo "$found"
  echo "includes with ../ in their path: name the header from the top of the tree" >&2
  exit 1
fi
echo "no include climbs out of its folder"
