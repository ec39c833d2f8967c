#!/usr/bin/env bash
# Drives a Windows DLL through its exported entry point under Wine with the
# same checks the Linux module passes, and in the same run takes its
# arithmetic fingerprint, which must equal the Linux module's bit for bit:
# every target computes alike. One Wine start for both, since a start costs
# most of a minute where 32-bit programs run through an emulator.
#
# The fingerprint ends with a bank saved and played back. The product's
# DLL saves its bank to a file (--save-bank), which the Linux module then
# plays in its own fingerprint; the 64-bit DLL plays that file in its run
# (--load-bank). Equal fingerprints then mean a project saved with the
# 32-bit DLL sounds the same, bit for bit, everywhere.
#
# Usage: entry_checks_under_wine.sh <linux checks> <linux module> <windows checks.exe> <dll>
#          <golden bank file> (--save-bank | --load-bank) <bank file>
# Exits 77 (skipped) where the DLL's kind of program cannot run here.
set -uo pipefail
if [ $# -ne 7 ] || { [ "$6" != --save-bank ] && [ "$6" != --load-bank ]; }; then
  echo "usage: $0 <linux checks> <linux module> <windows checks.exe> <dll>" \
       "<golden bank> (--save-bank | --load-bank) <bank file>" >&2
  exit 2
fi
linux_checks=$1 linux_module=$2 windows_checks=$3 dll=$4 golden=$5 bank_mode=$6 bank_file=$7
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)

windows_bank=() linux_bank=()
if [ "$bank_mode" = --save-bank ]; then
  rm -f "$bank_file"  # never let an earlier run's file stand in for this one's
  windows_bank=(--save-bank "$bank_file")
  linux_bank=(--load-bank "$bank_file")
elif [ -f "$bank_file" ]; then
  windows_bank=(--load-bank "$bank_file")
else
  echo "note: no bank saved by the 32-bit DLL in this run; $dll plays its own"
fi

output=$("$scripts/wine-run.sh" "$windows_checks" "$dll" --with-digest \
           --golden-bank "$golden" "${windows_bank[@]}" | tr -d '\r')
status=$?
echo "$output"
[ "$status" -ne 77 ] || exit 77

if [ "$bank_mode" = --save-bank ] && [ ! -f "$bank_file" ]; then
  echo "FAIL: $dll saved no bank"
  exit 1
fi
reference=$("$linux_checks" "$linux_module" --digest "${linux_bank[@]}") ||
  { echo "FAIL: no fingerprint from the Linux module"; exit 1; }
digest=$(echo "$output" | grep -E '^(rate|bank:) ')
echo "Linux module${linux_bank[*]:+ (playing the bank the DLL saved)}:"
echo "$reference"
if [ "$digest" != "$reference" ]; then
  echo "FAIL: $dll computes differently from the Linux module"
  exit 1
fi
echo "same arithmetic as the Linux module"
exit "$status"
