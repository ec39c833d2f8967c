#!/usr/bin/env bash
# The whole test suite from a fresh machine: installs what the build and the
# tests need, builds the three targets, and runs every test: unit tests,
# the same tests and the dispatcher fuzzer under the address and
# undefined-behaviour sanitizers, the threads under ThreadSanitizer, and the
# built libraries driven through their entry point natively, under valgrind,
# and under Wine (the real i686 DLL, and the x86-64 one).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh
scripts/build.sh

cmake -S . -B build/linux-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON >/dev/null
cmake --build build/linux-sanitize -j "$jobs"
# ThreadSanitizer needs a build of its own; only the module and the thread
# checks are built there.
cmake -S . -B build/linux-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_TSAN=ON >/dev/null
cmake --build build/linux-tsan -j "$jobs" --target vorn vorn_thread_checks

. scripts/xvfb.sh
start_private_display
trap stop_private_display EXIT

. scripts/wine-env.sh
reason=$(no_32bit_reason)
[ -z "$reason" ] || echo "== note: the 32-bit DLL's checks will be reported as skipped: $reason"
command -v ardour7-lua >/dev/null ||
  echo "== note: the Ardour check will be reported as skipped: ardour7-lua is not installed"

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
echo "== sanitizer build"
ctest --test-dir build/linux-sanitize --output-on-failure -j "$jobs"
echo "== thread sanitizer build"
ctest --test-dir build/linux-tsan --output-on-failure -L threads
echo "== release build, Linux module and Windows DLLs"
ctest --test-dir build/linux --output-on-failure -j "$jobs"
