#!/usr/bin/env bash
# The version information and application manifest of each program given, as
# binutils' windres reads them from the file:
#
#   tests/windows/program_resources_check.sh <program.exe>...
set -euo pipefail
status=0
for program in "$@"; do
  rc="$(x86_64-w64-mingw32-windres -J coff -O rc -i "$program")"
  # and the manifest's text, its quoted pieces joined
  rc+="$(sed -n '/RT_MANIFEST/,/^END/s/^ *"\(.*\)"$/\1/p' <<<"$rc" | tr -d '\n' | sed 's/""/"/g')"
  for want in 'FILEVERSION 2, 0, 0, 0' 'VALUE "ProductName", "Orvane Setup"' 'VALUE "ProductVersion", "2.0"' \
    'VALUE "CompanyName", "Orvane"' 'VALUE "FileDescription", "Orvane Setup ' 'VALUE "LegalCopyright", "' \
    RT_GROUP_ICON '<requestedExecutionLevel level="asInvoker"' '>true/pm</dpiAware>' \
    '>PerMonitorV2, PerMonitor</dpiAwareness>' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
    35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
    1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    grep -qF -- "$want" <<<"$rc" || { echo "FAIL ($program): no $want" >&2; status=1; }
  done
  ! grep -q '<activeCodePage' <<<"$rc" || { echo "FAIL ($program): the code page is set" >&2; status=1; }
done
exit "$status"
