#!/usr/bin/env bash
# Runs one Windows program under Wine with the loader its own header asks for
# (wine64 for PE32+, wine for PE32), then ends every Wine process of the prefix.
#
#   wine-run.sh program.exe [args...]
#   wine-run.sh --loader program.exe     prints wine or wine64, runs nothing
#
# With WINEPREFIX set to an existing prefix (made by scripts/wine-prefix.sh),
# the program runs there and the prefix stays; otherwise a prefix is made for
# this one run and removed afterwards. A 32-bit program on a machine that
# cannot run one exits with code 77 (skipped) and says why.
set -u
. "$(dirname "$0")/wine-env.sh"

if [ "${1:-}" = "--loader" ]; then
  [ $# -eq 2 ] || { echo "usage: $0 --loader program.exe" >&2; exit 2; }
  wine_loader_name "$2"
  exit
fi
if [ $# -lt 1 ]; then
  echo "usage: $0 program.exe [args...]" >&2
  exit 2
fi

loader=$(wine_loader_path "$1") || exit 2
if [ "$loader" = "$WINE32_LOADER" ]; then
  reason=$(no_32bit_reason)
  if [ -n "$reason" ]; then
    echo "SKIP $(basename "$1"): $reason"
    exit "$VORN_SKIP_CODE"
  fi
fi

if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vorn-wine.XXXXXX")
  export WINEPREFIX
  trap 'end_wine; rm -rf "$WINEPREFIX"' EXIT
else
  export WINEPREFIX
  trap end_wine EXIT
fi

timeout --kill-after=10 "${VORN_WINE_TIMEOUT:-1200}" "$loader" "$@"
