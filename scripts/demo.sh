#!/usr/bin/env bash
# The main job: installs what is needed, builds the plug-in for its three
# targets, and shows it working through our host: the Linux module natively
# and the real 32-bit Windows DLL under Wine, the editor as a user sees it in
# each one's real window, and the measured response of the program the
# editor made. Pictures and the response table go to out/. Where this
# machine cannot run 32-bit programs, the Windows step says why and shows the
# 64-bit DLL instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

. scripts/wine-env.sh
. scripts/text-box.sh
. scripts/xvfb.sh
start_private_display
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vorn-demo-wine.XXXXXX")
export WINEPREFIX
trap 'scripts/wine-prefix.sh remove "$WINEPREFIX"; stop_private_display' EXIT

out="$(pwd)/out"
mkdir -p "$out"
snapshot=build/linux/tools/snapshot/vorn_snapshot
outputs=()

echo
echo "== Linux module, native host"
build/linux/tools/testhost/vorn_host build/linux/plugin/Vorn.so

windows=build/win32
kind="32-bit Windows DLL (the product)"
reason=$(no_32bit_reason)
if [ -n "$reason" ]; then
  echo
  echo "== $reason: showing the 64-bit DLL under Wine instead"
  windows=build/win64
  kind="64-bit Windows DLL"
fi

echo
echo "== Editor, headless render: as opened, and after the demo's mouse drags and a 1 kHz sine"
"$snapshot" --out "$out/editor.png"
"$snapshot" --demo --out "$out/editor-demo.png"
outputs+=("$out/editor.png" "$out/editor-demo.png")

echo
echo "== Editor of the Linux module in a real X11 window of the native host (a private Xvfb):"
echo "   as opened, then after the same drags made with the real pointer (XTEST); the bank"
echo "   those drags made is saved as a bank file"
bank="$out/vorn-demo.fxb"
rm -f "$bank"
# Its own X server even on a desktop: the check moves and grabs the pointer.
if (VORN_FORCE_XVFB=1 start_private_display
    trap stop_private_display EXIT
    build/linux/tools/testhost/vorn_host --editor-check build/linux/plugin/Vorn.so \
      "$out/editor-x11.png" "$out/editor-demo-x11.png" "$bank") | tee "$out/editor-x11.txt"; then
  if "$snapshot" --compare "$out/editor-x11.png" &&
     "$snapshot" --demo --compare "$out/editor-demo-x11.png"; then
    echo "the X11 window matched the headless render on every pixel, the read-out text included"
  else
    echo "(the X11 window differs from the headless render; see above)"
  fi
  outputs+=("$out/editor-x11.png" "$out/editor-demo-x11.png")
else
  echo "(the editor check on X11 failed; see above)"
fi

echo
echo "== Wine prefix for the Windows programs"
scripts/wine-prefix.sh create "$WINEPREFIX"

echo
echo "== The bank the drags made, loaded into a fresh instance of each target: Linux module"
echo "   (native host), $kind (Windows host under Wine)"
made=$(sed -n 's/^after the demo drags: 1 kHz gain //p' "$out/editor-x11.txt")
loads=()
if [ -f "$bank" ] && [ -n "$made" ]; then
  loads=(--load-bank "$bank")
  outputs+=("$bank")
else
  echo "(no bank was saved: the X11 editor check failed; both hosts start from the defaults)"
fi
build/linux/tools/testhost/vorn_host "${loads[@]}" build/linux/plugin/Vorn.so |
  tee "$out/bank-linux.txt"
scripts/wine-run.sh "$windows/tools/testhost/vorn_host.exe" "${loads[@]}" "$windows/plugin/Vorn.dll" |
  tr -d '\r' | tee "$out/bank-windows.txt"
if [ ${#loads[@]} -gt 0 ]; then
  echo "the instance that made the bank measured: $made"
  for host in linux windows; do
    heard=$(sed -n 's/^audio: 1 kHz gain //p' "$out/bank-$host.txt")
    if [ "$heard" = "$made" ]; then
      echo "$host: the curve came back ($heard)"
    else
      echo "$host: the curve did NOT come back (measured ${heard:-nothing})"
    fi
  done
fi
rm -f "$out/bank-linux.txt" "$out/bank-windows.txt" "$out/editor-x11.txt"

echo
echo "== Editor of the $kind under Wine, in the host's own window: as opened, then after the same drags"
if scripts/wine-run.sh "$windows/tools/testhost/vorn_host.exe" --editor-check \
     "$windows/plugin/Vorn.dll" "$out/editor-wine.png" "$out/editor-demo-wine.png"; then
  "$snapshot" --compare "$out/editor-wine.png" --exclude "$VORN_TEXT_BOX" || true
  "$snapshot" --demo --compare "$out/editor-demo-wine.png" --exclude "$VORN_TEXT_BOX" || true
  outputs+=("$out/editor-wine.png" "$out/editor-demo-wine.png")
else
  echo "(the editor check under Wine failed; see above)"
fi

echo
echo "== LV2 plug-in (build/linux/lv2/Vorn.lv2), as lilv's tools see it"
lv2_uri=https://example.invalid/plugins/vorn
(
  export LV2_PATH="$(pwd)/build/linux/lv2"
  lv2info "$lv2_uri" | sed -n '1,/^\tPort 5:/p' | sed '$d'
  echo "	... 66 ports: 2 audio in, 2 audio out, 60 gains (left_25 .. right_20000), 2 levels"
  echo
  echo "== LV2 plug-in through lv2apply: a 1 kHz sine with left_1000 at +12 dB"
  wav=build/linux/tools/wav/vorn_wav
  "$wav" sine "$out/lv2-sine.wav" --hz 1000 --rate 48000 --seconds 1 --amplitude 0.25
  echo "lv2apply -c left_1000 12 -i lv2-sine.wav -o lv2-sine-eq.wav $lv2_uri"
  lv2apply -c left_1000 12 -i "$out/lv2-sine.wav" -o "$out/lv2-sine-eq.wav" "$lv2_uri"
  echo "measured gain, output against input:"
  "$wav" gain "$out/lv2-sine.wav" "$out/lv2-sine-eq.wav"
)
outputs+=("$out/lv2-sine.wav" "$out/lv2-sine-eq.wav")

echo
echo "== LV2 editor in a real host: jalv on a private Xvfb, as opened, then dragged with the real"
echo "   pointer (left 1 kHz to +12 dB) while a 1 kHz tone plays into the plug-in"
if tests/lv2/editor_in_jalv.sh "$(pwd)/build/linux/lv2" "$lv2_uri" \
     build/linux/tests/lv2/vorn_editor_probe "$snapshot" \
     "$out/editor-jalv.png" "$out/editor-jalv-drag.png"; then
  outputs+=("$out/editor-jalv.png" "$out/editor-jalv-drag.png")
else
  echo "(the editor in jalv failed; see above)"
fi

echo
echo "== Measured response of the program the demo's drags made"
build/linux/tools/plot/vorn_plot --demo --out "$out/response.png" --table "$out/response.txt"
outputs+=("$out/response.png" "$out/response.txt")

echo
echo "== Outputs"
for path in "${outputs[@]}"; do
  echo "  $path"
done
