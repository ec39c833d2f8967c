#!/usr/bin/env bash
# The main job: installs what is needed, builds the plug-in for its three
# targets, and shows it working through our host: the Linux module natively
# and the real 32-bit Windows DLL under Wine, its editor as a user sees it,
# and the measured response of the program the editor made. Pictures and the
# response table go to out/. Where this machine cannot run 32-bit programs,
# the Windows step says why and shows the 64-bit DLL instead.
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
echo "== Wine prefix for the Windows programs"
scripts/wine-prefix.sh create "$WINEPREFIX"

echo
echo "== $kind, Windows host under Wine"
scripts/wine-run.sh "$windows/tools/testhost/vorn_host.exe" "$windows/plugin/Vorn.dll"

echo
echo "== Editor, headless render: as opened, and after the demo's mouse drags and a 1 kHz sine"
"$snapshot" --out "$out/editor.png"
"$snapshot" --demo --out "$out/editor-demo.png"
outputs+=("$out/editor.png" "$out/editor-demo.png")

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
echo "== Measured response of the program the demo's drags made"
build/linux/tools/plot/vorn_plot --demo --out "$out/response.png" --table "$out/response.txt"
outputs+=("$out/response.png" "$out/response.txt")

echo
echo "== Outputs"
for path in "${outputs[@]}"; do
  echo "  $path"
done
