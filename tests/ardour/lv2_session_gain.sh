#!/usr/bin/env bash
# The LV2 plug-in in a real host: Ardour 7, headless, loads it by its URI on
# a stereo track, a band is set through Ardour's Lua API (the left 1 kHz
# control to +12 dB) and a 1 kHz tone through the plug-in gains 12 dB on the
# left and nothing on the right; the session is saved, and reopened it
# restores the control and measures the same gains.
#
# Usage: lv2_session_gain.sh <LV2 path> <plug-in URI>
# Exits 77 (skipped) where Ardour is not installed.
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <LV2 path> <plug-in URI>" >&2
  exit 2
fi
export LV2_PATH=$1
uri=$2
. "$(dirname "$0")/ardour_session.sh"
ardour_require

control="Left 1 kHz"
boost_db=12
# The band's gain at its own centre, within the tolerance lv2apply's check
# uses; the probes measure over whole periods, so the right channel, left
# flat, comes out at 0 to a few thousandths of a decibel.
tolerance_db=0.05
# The gains after reopening are measured on the same engine from the same
# settings: they may differ only where the tone starts against the blocks.
same_db=0.01

work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-ardour-lv2.XXXXXX")
trap 'rm -rf "$work"' EXIT
ardour_private_home "$work/home"
session=$work/session
name=equalized

fail() { echo "FAILED: $*" >&2; exit 1; }

# "<left> <right>" from a line "gain: ... left <dB> dB, right <dB> dB".
gains_of() { sed -n 's/^gain: .*left \([-+0-9.]*\) dB, right \([-+0-9.]*\) dB$/\1 \2/p'; }

echo "== Ardour loads the plug-in by its URI, sets \"$control\" to +$boost_db dB and measures"
made=$(ardour_lua lv2_make_session.lua "$session" "$name" "$uri" "$control" "$boost_db")
status=$?
echo "$made"
[ $status -eq 0 ] || fail "making the session"
read -r left right < <(echo "$made" | gains_of)
[ -n "${right:-}" ] || fail "Ardour's run printed no gains"
awk -v l="$left" -v r="$right" -v b="$boost_db" -v t="$tolerance_db" '
  function off(a, c) { return a > c ? a - c : c - a }
  BEGIN { exit !(off(l, b) <= t && off(r, 0) <= t) }' ||
  fail "left $left dB and right $right dB, expected +$boost_db and 0 (within $tolerance_db dB)"
grep -q 'lv2' "$session/$name.ardour" || fail "the saved session names no LV2 plug-in"

echo "== Ardour reopens the saved session"
plugin_name=$(grep -o '<Processor [^>]*type="lv2"[^>]*' "$session/$name.ardour" |
              sed -n 's/.* name="\([^"]*\)".*/\1/p' | head -1)
[ -n "$plugin_name" ] || fail "no LV2 processor in the saved session"
reopened=$(ardour_lua lv2_reopen.lua "$session" "$name" "$uri" "$plugin_name" "$control")
status=$?
echo "$reopened"
[ $status -eq 0 ] || fail "reopening the session"
echo "$reopened" | grep -q "^$control restored as $boost_db\$" ||
  fail "\"$control\" did not come back as $boost_db"
read -r left2 right2 < <(echo "$reopened" | gains_of)
awk -v l="$left" -v r="$right" -v l2="$left2" -v r2="$right2" -v t="$same_db" '
  function off(a, c) { return a > c ? a - c : c - a }
  BEGIN { exit !(l2 != "" && off(l, l2) <= t && off(r, r2) <= t) }' ||
  fail "reopened, the gains are $left2 and $right2 dB, not $left and $right"
echo "PASSED"
