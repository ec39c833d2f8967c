#!/usr/bin/env bash
# The main job: installs what is needed, builds the plug-in for its three
# targets, and shows it working through our host: the Linux module natively
# and the real 32-bit Windows DLL under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

. scripts/xvfb.sh
start_private_display

echo
echo "== Linux module, native host"
build/linux/tools/host/vorn_host build/linux/plugin/Vorn.so
echo
echo "== 32-bit Windows DLL, Windows host under Wine"
scripts/wine-run.sh build/win32/tools/host/vorn_host.exe build/win32/plugin/Vorn.dll
