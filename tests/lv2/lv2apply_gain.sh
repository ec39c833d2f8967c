#!/usr/bin/env bash
# Through lilv's own host, without ours: lv2apply runs the bundle on a 1 kHz
# sine with the left 1 kHz band at +12 dB; the left channel must come out
# 12.0 dB louder (within 0.05 dB), the right one untouched.
# Usage: lv2apply_gain.sh <LV2 path> <plug-in URI> <vorn_wav>
set -euo pipefail
export LV2_PATH=$1
uri=$2
wav=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$wav" sine "$work/in.wav" --hz 1000 --rate 48000 --seconds 1 --amplitude 0.25
lv2apply -c left_1000 12 -i "$work/in.wav" -o "$work/out.wav" "$uri"
gains=$("$wav" gain "$work/in.wav" "$work/out.wav")
echo "$gains"
left=$(echo "$gains" | sed -n 's/^left: \(.*\) dB$/\1/p')
right=$(echo "$gains" | sed -n 's/^right: \(.*\) dB$/\1/p')
awk -v l="$left" -v r="$right" 'BEGIN {
  if (l < 11.95 || l > 12.05) { print "left gain " l " dB, expected 12.0 (+-0.05)"; exit 1 }
  if (r < -0.01 || r > 0.01) { print "right gain " r " dB, expected 0"; exit 1 }
}'
