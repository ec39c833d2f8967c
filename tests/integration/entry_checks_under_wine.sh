#!/usr/bin/env bash
# Drives a Windows DLL through its exported entry point under Wine with the
# same checks the Linux module passes, and in the same run takes its
# arithmetic fingerprint, which must equal the Linux module's bit for bit:
# every target computes alike. One Wine start for both, since a start costs
# most of a minute where 32-bit programs run through an emulator.
#
# Usage: entry_checks_under_wine.sh <linux checks> <linux module> <windows checks.exe> <dll>
# Exits 77 (skipped) where the DLL's kind of program cannot run here.
set -uo pipefail
if [ $# -ne 4 ]; then
  echo "usage: $0 <linux checks> <linux module> <windows checks.exe> <dll>" >&2
  exit 2
fi
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)

reference=$("$1" "$2" --digest) || { echo "FAIL: no fingerprint from the Linux module"; exit 1; }
output=$("$scripts/wine-run.sh" "$3" "$4" --with-digest | tr -d '\r')
status=$?
echo "$output"
[ "$status" -ne 77 ] || exit 77

digest=$(echo "$output" | grep '^rate ')
echo "Linux module:"
echo "$reference"
if [ "$digest" != "$reference" ]; then
  echo "FAIL: $4 computes differently from the Linux module"
  exit 1
fi
echo "same arithmetic as the Linux module"
exit "$status"
