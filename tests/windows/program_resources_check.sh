#!/usr/bin/env bash
# The version information and application manifest of each program given, as
# binutils' windres reads them from the file:
#
#   tests/windows/program_resources_check.sh <program.exe>...
set -euo pipefail
status=0
for program in "$@"; do
  fail() { echo "FAIL ($program): $*" >&2; status=1; }
  rc="$(x86_64-w64-mingw32-windres -J coff -O rc -i "$program")"
  # The manifest's text: its quoted pieces joined.
  manifest="$(sed -n '/RT_MANIFEST/,/^END/s/^ *"\(.*\)"$/\1/p' <<<"$rc" | tr -d '\n' | sed 's/""/"/g')"
  for want in 'FILEVERSION 2, 0, 0, 0' 'VALUE "CompanyName", "Orvane"' 'VALUE "ProductName", "Orvane Setup"' \
    'VALUE "ProductVersion", "2.0"' 'VALUE "FileDescription", "Orvane Setup ' 'VALUE "LegalCopyright", "' \
    RT_GROUP_ICON; do
    grep -qF -- "$want" <<<"$rc" || fail "no $want"
  done
  settings=http://schemas.microsoft.com/SMI
  for want in '<requestedExecutionLevel level="asInvoker"' \
    "<dpiAware xmlns=\"$settings/2005/WindowsSettings\">true/pm</dpiAware>" \
    "<dpiAwareness xmlns=\"$settings/2016/WindowsSettings\">PerMonitorV2, PerMonitor<" \
    'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
    35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
    1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    grep -qF -- "$want" <<<"$manifest" || fail "manifest without $want"
  done
  ! grep -q '<activeCodePage' <<<"$manifest" || fail "the manifest sets the code page"
done
exit "$status"
