#!/usr/bin/env bash
# The Wine wrapper picks the loader from the program's own header: wine64 for
# PE32+ (so 64-bit checks never pass through the 32-bit loader, which a kernel
# without 32-bit support refuses), wine for PE32. Checked on the built files,
# without running them.
# Usage: wine_loader_choice.sh <win32 build dir> <win64 build dir> <linux module>
set -uo pipefail
run=$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-run.sh
failures=0

expect() {
  local file=$1 wanted=$2 got
  got=$("$run" --loader "$file" 2>/dev/null)
  if [ "$got" = "$wanted" ]; then
    echo "ok   $file: $got"
  else
    echo "FAIL $file: '$got', expected '$wanted'"
    failures=$((failures + 1))
  fi
}

for file in tools/testhost/vorn_host.exe tests/through_entry/vorn_entry_checks.exe plugin/Vorn.dll; do
  expect "$1/$file" wine
  expect "$2/$file" wine64
done
# Not a Windows program at all: no loader, and a clear failure.
expect "$3" ""
if "$run" --loader "$3" >/dev/null 2>&1; then
  echo "FAIL $3: accepted as a Windows program"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
