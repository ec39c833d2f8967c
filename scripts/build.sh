#!/usr/bin/env bash
# Builds the three targets from this one source tree:
#   build/linux  native: Linux module, unit tests, tools, benchmarks
#   build/win32  i686 Windows DLL (the product) and the Windows test host
#   build/win64  x86-64 Windows DLL and its test host
# Usage: scripts/build.sh [extra cmake arguments for the native build]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

configure() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

configure build/win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
cmake --build build/win32 -j "$jobs"
configure build/win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake"
cmake --build build/win64 -j "$jobs"
configure build/linux -DVORN_WIN32_DIR="$root/build/win32" -DVORN_WIN64_DIR="$root/build/win64" "$@"
cmake --build build/linux -j "$jobs"

echo "built:"
ls -l build/win32/plugin/Vorn.dll build/win64/plugin/Vorn.dll build/linux/plugin/Vorn.so
