#!/usr/bin/env bash
# The three targets compute alike: the arithmetic fingerprint of the Linux
# module must equal those of the 32-bit and 64-bit DLLs under Wine, bit for bit.
# Usage: same_arithmetic.sh <linux checks> <linux module> <windows checks.exe> <dll> [...]
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
reference=$("$1" "$2" --digest)
echo "Linux:"
echo "$reference"
shift 2
status=0
while [ $# -ge 2 ]; do
  digest=$("$scripts/wine-run.sh" "$1" "$2" --digest 2>/dev/null | tr -d '\r')
  echo "$2:"
  echo "$digest"
  if [ "$digest" != "$reference" ]; then
    echo "FAIL: $2 computes differently"
    status=1
  fi
  shift 2
done
exit $status
