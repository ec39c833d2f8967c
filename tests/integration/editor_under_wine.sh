#!/usr/bin/env bash
# Opens the editor of a Windows build of the plug-in (the i686 DLL is the
# product) under Wine through the Windows test host, and compares the pixels
# it painted with the headless render of the same state. The read-out text is
# the one place they may differ: Windows draws it with the system font, the
# headless build with our pixel font.
#
# Usage: editor_under_wine.sh <Windows build dir> <vorn_snapshot> [--demo]
#   the host's editor checks (rectangle, window, class, paint, a drag heard
#   in the audio) and its capture of the freshly opened editor against the
#   render right after construction; with --demo, in the same Wine run, the
#   main job's drags and audio replayed on both and compared as well.
# Exits 77 (skipped) where the build's kind of program cannot run here.
set -uo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ] || { [ $# -eq 3 ] && [ "$3" != --demo ]; }; then
  echo "usage: $0 <Windows build dir> <vorn_snapshot> [--demo]" >&2
  exit 2
fi
windows=$1
snapshot=$2
demo=${3:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/text-box.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-editor.XXXXXX")
# Each editor test paints into an X server of its own.
. "$root/scripts/xvfb.sh"
VORN_FORCE_XVFB=1 start_private_display
trap 'stop_private_display; rm -rf "$work"' EXIT

pictures=("$work/capture.bmp")
[ -z "$demo" ] || pictures+=("$work/demo.png")
"$root/scripts/wine-run.sh" "$windows/tools/testhost/vorn_host.exe" --editor-check \
  "$windows/plugin/Vorn.dll" "${pictures[@]}"
status=$?
[ "$status" -ne 77 ] || exit 77
[ "$status" -eq 0 ] || exit "$status"

"$snapshot" --compare "$work/capture.bmp" --exclude "$VORN_TEXT_BOX" || exit 1
[ -z "$demo" ] || "$snapshot" --demo --compare "$work/demo.png" --exclude "$VORN_TEXT_BOX"
