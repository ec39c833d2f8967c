#!/usr/bin/env bash
# Runs one Windows program under Wine in a Wine prefix of its own, then ends
# that Wine and removes the prefix. Usage: wine-run.sh program.exe [args...]
set -u

prefix=$(mktemp -d "${TMPDIR:-/tmp}/vorn-wine.XXXXXX")
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No runtime installers: the programs need neither .NET nor a browser engine.
export WINEDLLOVERRIDES="mscoree,mshtml="

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT

timeout --kill-after=10 "${VORN_WINE_TIMEOUT:-600}" wine "$@"
status=$?
exit $status
