#!/usr/bin/env bash
# Opens the editor of a Windows build of the plug-in (the i686 DLL is the
# product) under Wine through the Windows test host, and compares the pixels
# it painted with the headless render of the same state. The read-out text is
# the one place they may differ: Windows draws it with the system font, the
# headless build with our pixel font.
#
# Usage: editor_under_wine.sh check|demo <Windows build dir> <vorn_snapshot>
#   check  the host's editor checks (rectangle, window, class, paint, a drag
#          heard in the audio), and its capture of the freshly opened editor
#          against the render right after construction
#   demo   the main job's drags and audio replayed on both, compared
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 check|demo <Windows build dir> <vorn_snapshot>" >&2
  exit 2
fi
mode=$1
windows=$2
snapshot=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
text_box=366,169,486,179

work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-editor.XXXXXX")
. "$root/scripts/xvfb.sh"
start_private_display
trap 'rm -rf "$work"; if [ -n "${VORN_XVFB_PID:-}" ]; then kill "$VORN_XVFB_PID" 2>/dev/null || true; fi' EXIT

host() {
  "$root/scripts/wine-run.sh" "$windows/tools/host/vorn_host.exe" "$@"
}

case "$mode" in
  check)
    host --editor-check "$windows/plugin/Vorn.dll" "$work/capture.bmp"
    "$snapshot" --compare "$work/capture.bmp" --exclude "$text_box"
    ;;
  demo)
    host --editor-capture "$windows/plugin/Vorn.dll" "$work/capture.png"
    "$snapshot" --demo --compare "$work/capture.png" --exclude "$text_box"
    ;;
  *)
    echo "unknown mode $mode (check or demo)" >&2
    exit 2
    ;;
esac
