#!/usr/bin/env bash
# Makes or removes the one Wine prefix that a test run or the main job shares
# between its Windows programs. Making one takes seconds natively and minutes
# where 32-bit programs run through an emulator, so it is done once per run.
#
#   wine-prefix.sh create <folder>
#   wine-prefix.sh remove <folder>
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

if [ $# -ne 2 ]; then
  echo "usage: $0 create|remove <folder>" >&2
  exit 2
fi
export WINEPREFIX=$2

case "$1" in
  create)
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # The 64-bit loader makes the prefix for both kinds of program; its
    # 32-bit half is set up only where 32-bit programs can run.
    reason=$(no_32bit_reason)
    [ -z "$reason" ] || echo "note: $reason; the prefix may get its 64-bit half only"
    start=$(date +%s)
    timeout --kill-after=10 "${VORN_WINE_TIMEOUT:-1200}" "$WINE64_LOADER" wineboot --init
    status=$?
    end_wine
    echo "Wine prefix $WINEPREFIX made in $(( $(date +%s) - start )) s"
    exit $status
    ;;
  remove)
    end_wine
    rm -rf "$WINEPREFIX"
    ;;
  *)
    echo "usage: $0 create|remove <folder>" >&2
    exit 2
    ;;
esac
