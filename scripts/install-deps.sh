#!/usr/bin/env bash
# Brings everything the build and the tests need onto a fresh Debian machine.
# Safe to run again: apt skips what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# 32-bit Wine runs the primary deliverable, the i686 DLL.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
  wine wine32:i386 wine64 xvfb xauth \
  valgrind ca-certificates >/dev/null
