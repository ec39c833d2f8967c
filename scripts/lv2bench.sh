#!/usr/bin/env bash
# Vorn's LV2 plug-in against the peer graphic equalizer in Debian's archive
# that lilv's benchmark can run, LSP's graphic equalizer x32 left/right
# (lsp-plugins-lv2), with lv2bench (lilv-utils), the same program for both,
# in one run: blocks of 32, 512 and 4096 frames, the two plug-ins taking
# turns, the median of several runs each. lv2bench feeds silence with every
# control at its default. Prints nanoseconds per stereo frame and the ratio;
# nothing here passes or fails on a time.
#
# Usage: scripts/lv2bench.sh [runs per figure (default 5)] [frames per run (default 480000)]
# Builds nothing: run scripts/build.sh (or build the vorn_lv2_bundle target) first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
frames=${2:-480000}
vorn=https://example.invalid/plugins/vorn
peer=http://lsp-plug.in/plugins/lv2/graph_equalizer_x32_lr
export LV2_PATH="$(pwd)/build/linux/lv2:${LV2_PATH:-/usr/lib/lv2}"

[ -f build/linux/lv2/Vorn.lv2/manifest.ttl ] || { echo "no bundle: build it first" >&2; exit 1; }

# Nanoseconds per frame of one lv2bench run ("block frames seconds uri").
one_run() {
  lv2bench -f -b "$2" -n "$frames" "$1" 2>/dev/null |
    awk -v n="$frames" '!/^#/ && NF >= 4 { printf "%.1f\n", $3 * 1e9 / n }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "lv2bench: $frames frames per run, median of $runs runs, ns per stereo frame"
printf '%6s %10s %12s %8s\n' block Vorn "LSP x32 LR" ratio
for block in 32 512 4096; do
  vorn_times=() peer_times=()
  for _ in $(seq 1 "$runs"); do
    vorn_times+=("$(one_run "$vorn" "$block")")
    peer_times+=("$(one_run "$peer" "$block")")
  done
  v=$(printf '%s\n' "${vorn_times[@]}" | median)
  p=$(printf '%s\n' "${peer_times[@]}" | median)
  awk -v b="$block" -v v="$v" -v p="$p" 'BEGIN { printf "%6d %10.1f %12.1f %7.1fx\n", b, v, p, p / v }'
done
