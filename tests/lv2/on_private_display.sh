#!/usr/bin/env bash
# Runs a command on a private X server (scripts/xvfb.sh) and answers its exit
# status. Usage: on_private_display.sh <command> [arguments...]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/xvfb.sh"
VORN_FORCE_XVFB=1 start_private_display
trap stop_private_display EXIT
"$@"
