#!/usr/bin/env bash
# The long dispatcher fuzzing run, outside CI: ten million calls (ten seeds of
# a million) against the Linux module built with the address and
# undefined-behaviour sanitizers. Usage: scripts/fuzz-long.sh [first seed]
set -euo pipefail
cd "$(dirname "$0")/.."
first=${1:-1000}
cmake -S . -B build/linux-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON >/dev/null
cmake --build build/linux-sanitize -j "$(nproc)" --target vorn vorn_dispatch_fuzz
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
time build/linux-sanitize/tests/fuzz/vorn_dispatch_fuzz build/linux-sanitize/plugin/Vorn.so \
  --seed "$first" --seeds 10 --calls 1000000
