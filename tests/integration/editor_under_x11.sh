#!/usr/bin/env bash
# Opens the Linux module's editor in a real X11 window of the native test
# host, on an X server of its own, and compares the pixels read back from
# the server with the headless render of the same state: every pixel, the
# read-out text included, since both draw it with the same pixel font.
#
# Usage: editor_under_x11.sh <vorn_host> <Vorn.so> <vorn_snapshot>
#   the host's editor checks (refused openings, rectangle, window, paint, a
#   drag with the real pointer heard in the audio, hovering after a lost
#   release, the title plate, reopening, two editors at once, closing the
#   effect or destroying the window first, nothing left open) and its
#   captures: the freshly opened editor, and after the main job's drags and
#   audio. VORN_HOST_WRAPPER (e.g. valgrind and its options) runs the host.
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <vorn_host> <Vorn.so> <vorn_snapshot>" >&2
  exit 2
fi
host=$1
module=$2
snapshot=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-editor-x11.XXXXXX")
. "$root/scripts/xvfb.sh"
VORN_FORCE_XVFB=1 start_private_display
trap 'stop_private_display; rm -rf "$work"' EXIT

# shellcheck disable=SC2086  # the wrapper is a command and its options
${VORN_HOST_WRAPPER:-} "$host" --editor-check "$module" "$work/capture.png" "$work/demo.png" ||
  exit 1
"$snapshot" --compare "$work/capture.png" || exit 1
"$snapshot" --demo --compare "$work/demo.png"
