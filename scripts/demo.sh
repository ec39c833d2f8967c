#!/usr/bin/env bash
# The main job: installs what is needed, builds the plug-in for its three
# targets, and shows it working through our host: the Linux module natively
# and the real 32-bit Windows DLL under Wine, its editor as a user sees it,
# and the measured response of the program the editor made. Pictures and the
# response table go to out/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

. scripts/xvfb.sh
start_private_display

out="$(pwd)/out"
mkdir -p "$out"
# The read-out text: drawn with the system font under Windows, with our pixel
# font in the headless render, so the comparison leaves that box out.
text_box=366,169,486,179
snapshot=build/linux/tools/snapshot/vorn_snapshot
outputs=()

echo
echo "== Linux module, native host"
build/linux/tools/host/vorn_host build/linux/plugin/Vorn.so
echo
echo "== 32-bit Windows DLL, Windows host under Wine"
scripts/wine-run.sh build/win32/tools/host/vorn_host.exe build/win32/plugin/Vorn.dll

echo
echo "== Editor, headless render: as opened, and after the demo's mouse drags and a 1 kHz sine"
"$snapshot" --out "$out/editor.png"
"$snapshot" --demo --out "$out/editor-demo.png"
outputs+=("$out/editor.png" "$out/editor-demo.png")

echo
echo "== Editor of the 32-bit DLL under Wine, in the host's own window"
if scripts/wine-run.sh build/win32/tools/host/vorn_host.exe --editor-check \
     build/win32/plugin/Vorn.dll "$out/editor-wine.png"; then
  "$snapshot" --compare "$out/editor-wine.png" --exclude "$text_box" || true
  outputs+=("$out/editor-wine.png")
else
  echo "(the editor check under Wine failed; see above)"
fi
if scripts/wine-run.sh build/win32/tools/host/vorn_host.exe --editor-capture \
     build/win32/plugin/Vorn.dll "$out/editor-demo-wine.png"; then
  "$snapshot" --demo --compare "$out/editor-demo-wine.png" --exclude "$text_box" || true
  outputs+=("$out/editor-demo-wine.png")
else
  echo "(no editor capture under Wine)"
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
