#!/usr/bin/env bash
# The LV2 editor in a real host: jalv (GTK) on a private X server and a JACK
# server of its own with the dummy driver. Checks that
#   - the editor's window inside jalv's shows the same pixels as the
#     headless render of the same values (every pixel, read-out included);
#   - a drag with the real pointer (XTEST) on the left 1 kHz slider reaches
#     the plug-in through the host: with a 1 kHz tone playing into the
#     plug-in (jack_metro), the output level jalv reports (its
#     --print-controls lists the plug-in's output ports) rises from the input
#     level to about four times it (+12 dB on the left channel). The editor
#     shares no memory with the DSP instance, so the audio can only change
#     through the port value the host keeps.
#
# Usage: editor_in_jalv.sh <LV2 path> <plug-in URI> <vorn_editor_probe> <vorn_snapshot>
#                          [opened.png dragged.png]
#   the two pictures, when named, are kept (the main job shows them).
set -uo pipefail
if [ $# -ne 4 ] && [ $# -ne 6 ]; then
  echo "usage: $0 <LV2 path> <plug-in URI> <vorn_editor_probe> <vorn_snapshot> [opened.png dragged.png]" >&2
  exit 2
fi
export LV2_PATH=$1
uri=$2
probe=$3
snapshot=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-jalv.XXXXXX")
opened=${5:-$work/opened.png}
dragged=${6:-$work/dragged.png}

. "$root/scripts/xvfb.sh"
VORN_FORCE_XVFB=1 start_private_display
export JACK_DEFAULT_SERVER="vorn-$$"
pids=()
# The clients first, then the JACK server they are connected to.
finish() {
  local k
  for ((k = ${#pids[@]} - 1; k >= 0; k--)); do
    kill "${pids[k]}" 2>/dev/null
    wait "${pids[k]}" 2>/dev/null
  done
  stop_private_display
  rm -rf "$work"
}
trap finish EXIT

jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
pids+=($!)
if ! jack_wait -w -t 10 >/dev/null; then
  echo "the JACK server did not start:"; cat "$work/jackd.log"; exit 1
fi

stdbuf -oL jalv.gtk3 --print-controls --jack-name vorn -x "$uri" >"$work/jalv.log" 2>&1 &
pids+=($!)

echo "== the editor as jalv opened it, against the headless render"
if ! "$probe" capture "$opened"; then
  echo "jalv's output:"; cat -v "$work/jalv.log" | head -40; exit 1
fi
"$snapshot" --compare "$opened" || exit 1

# The last input and output levels jalv printed.
levels() {
  local in out
  in=$(grep -a '^level_in = ' "$work/jalv.log" | tail -1 | sed 's/.* = //')
  out=$(grep -a '^level_out = ' "$work/jalv.log" | tail -1 | sed 's/.* = //')
  echo "${in:-0} ${out:-0}"
}

echo "== a 1 kHz tone into the plug-in, the left 1 kHz slider dragged to +12 dB"
jack_metro -n tone -b 600 -f 1000 -A 0.25 -D 90 >"$work/metro.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do jack_lsp | grep -q '^tone:' && break; sleep 0.1; done
tone=$(jack_lsp | grep '^tone:' | head -1)
jack_connect "$tone" vorn:in_left && jack_connect "$tone" vorn:in_right || exit 1
sleep 1
read -r in_before out_before < <(levels)
"$probe" drag 16 12 || exit 1
sleep 1
read -r in_after out_after < <(levels)
"$probe" capture "$dragged" || exit 1
echo "levels jalv reported, input / output: before the drag $in_before / $out_before," \
     "after it $in_after / $out_after"
awk -v ib="$in_before" -v ob="$out_before" -v ia="$in_after" -v oa="$out_after" 'BEGIN {
  if (ib < 0.1 || ia < 0.1) { print "the tone did not reach the plug-in"; exit 1 }
  if (ob / ib > 1.2) { print "the output was louder than the input before the drag"; exit 1 }
  if (oa / ia < 3.0) { print "the drag did not raise the 1 kHz band (expected about x4)"; exit 1 }
  printf "output/input level: %.2f before, %.2f after (peak meters: about 4 for +12 dB)\n", ob / ib, oa / ia
}'
