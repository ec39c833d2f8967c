#!/usr/bin/env bash
# A real host keeps the plug-in's settings: Ardour 7, headless, opens a
# session whose saved state for the Linux module is a bank file's chunk (a
# bank that is not flat), runs a 1 kHz tone through the plug-in and measures
# the gain, which must equal what our own host measures for the same bank;
# then saves the session again, and the chunk it writes must be the one it
# was given, byte for byte.
#
# Usage: vst2_session_state.sh <Vorn.so> <vorn_host> <bank.fxb>
# Exits 77 (skipped) where Ardour is not installed.
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <Vorn.so> <vorn_host> <bank.fxb>" >&2
  exit 2
fi
module=$1
host=$2
bank=$3
. "$(dirname "$0")/ardour_session.sh"
ardour_require

# Both hosts run the same arithmetic on a sine in 32-bit floats and measure
# the mean square over whole periods once the filters have settled (Ardour's
# probes: one second after half a second), so they differ only by our host's
# printing to three decimals; a real fault (another program, the other
# channel, a flat curve) moves the gain by decibels.
tolerance_db=0.01
# The bank's gains must be far from flat for the check to tell anything.
not_flat_db=1

work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-ardour.XXXXXX")
trap 'rm -rf "$work"' EXIT
ardour_private_home "$work/home"
session=$work/session
name=equalized

fail() { echo "FAILED: $*" >&2; exit 1; }

# The chunk of a bank file of the opaque-chunk kind: after the 160-byte
# header, whose last field is the chunk's size, big-endian.
bank_chunk() {
  local file=$1 out=$2 size declared
  [ "$(head -c 4 "$file")" = CcnK ] && [ "$(tail -c +9 "$file" | head -c 4)" = FBCh ] ||
    fail "$file is no bank file holding a chunk"
  size=$(stat -c %s "$file")
  declared=$(od -An -tu1 -j 156 -N 4 "$file" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }')
  [ "$declared" -eq $((size - 160)) ] || fail "$file declares a chunk of $declared bytes, holds $((size - 160))"
  tail -c +161 "$file" >"$out"
}

# The one <chunk> element of a session file, where Ardour keeps the plug-in's
# bank (base64) and, as an attribute, its current program: written to OUT as
# "<program> <base64>".
session_chunk() {
  local file=$1 out=$2 count
  count=$(grep -c '<chunk[ >]' "$file")
  [ "$count" -eq 1 ] ||
    fail "$(basename "$file") holds $count chunks, not one; the plug-in's state there:" \
         "$(grep -A3 '<lxvst' "$file")"
  sed -n 's|.*<chunk program="\([0-9]*\)">\([^<]*\)</chunk>.*|\1 \2|p' "$file" >"$out"
  [ -s "$out" ] || fail "$(basename "$file") holds the chunk in an unexpected form:" \
    "$(grep '<chunk' "$file" | cut -c 1-200)"
}

# "<left> <right>" from a line "...left <dB> dB, right <dB> dB".
gains_of() {
  sed -n "s/^$1.*left \([-+0-9.]*\) dB, right \([-+0-9.]*\) dB$/\1 \2/p"
}

echo "== our host loads the bank"
host_output=$("$host" --load-bank "$bank" "$module") || { echo "$host_output"; fail "our host"; }
echo "$host_output" | grep -E '^(bank|audio):'
plugin_name=$(echo "$host_output" | sed -n 's/^names: effect "\([^"]*\)".*/\1/p')
program=$(echo "$host_output" | sed -n 's/^bank: .*current program \([0-9]*\),.*/\1/p')
read -r host_left host_right < <(echo "$host_output" | gains_of "audio: 1 kHz gain")
[ -n "$plugin_name" ] && [ -n "$program" ] && [ -n "${host_right:-}" ] ||
  fail "our host printed no name, current program or gains"
awk -v l="$host_left" -v r="$host_right" -v d="$not_flat_db" \
  'BEGIN { exit !(l > d || l < -d || r > d || r < -d) }' ||
  fail "the bank is flat at 1 kHz (left $host_left dB, right $host_right dB): it tells nothing"
bank_chunk "$bank" "$work/given.chunk"

echo "== Ardour makes a session with the plug-in"
ardour_use_lxvst "$module" "$work/lxvst" || fail "the scan"
ardour_lua vst2_make_session.lua "$session" "$name" "$plugin_name" "$work/lxvst/$(basename "$module")" ||
  fail "making the session"

echo "== the session's saved state becomes the bank: its chunk and current program"
session_chunk "$session/$name.ardour" "$work/made"
given=$(base64 -w0 "$work/given.chunk")
sed -i "s|<chunk program=\"[0-9]*\">[^<]*</chunk>|<chunk program=\"$program\">$given</chunk>|" \
  "$session/$name.ardour"

echo "== Ardour opens it, plays the tone through the plug-in and saves it again"
started=$(date +%s)
ardour_output=$(ardour_lua vst2_play_and_save.lua "$session" "$name" "$plugin_name" resaved)
status=$?
echo "$ardour_output"
[ $status -eq 0 ] || fail "Ardour's run"
echo "(Ardour's run took $(($(date +%s) - started)) s)"
read -r ardour_left ardour_right < <(echo "$ardour_output" | gains_of "gain: 1 kHz")
[ -n "${ardour_right:-}" ] || fail "Ardour's run printed no gains"

echo "== the gains Ardour measured"
awk -v al="$ardour_left" -v ar="$ardour_right" -v hl="$host_left" -v hr="$host_right" -v t="$tolerance_db" '
  function off(a, b) { return a > b ? a - b : b - a }
  BEGIN {
    printf "left:  Ardour %+.4f dB, our host %+.3f dB\n", al, hl
    printf "right: Ardour %+.4f dB, our host %+.3f dB\n", ar, hr
    exit !(off(al, hl) <= t && off(ar, hr) <= t)
  }' || fail "Ardour's gains differ from our host's by more than $tolerance_db dB"

echo "== the chunk Ardour saved again"
session_chunk "$session/resaved.ardour" "$work/saved"
read -r saved_program saved_chunk <"$work/saved"
echo "$saved_chunk" | base64 -d >"$work/saved.chunk" || fail "the saved chunk is no base64"
cmp "$work/given.chunk" "$work/saved.chunk" ||
  fail "Ardour saved a chunk of $(stat -c %s "$work/saved.chunk") bytes that differs from" \
       "the $(stat -c %s "$work/given.chunk") bytes it was given"
echo "the same $(stat -c %s "$work/saved.chunk") bytes as given"
[ "$saved_program" = "$program" ] ||
  fail "Ardour saved program $saved_program as the current one, not $program"
echo "and the same current program, $program"
echo "PASSED"
