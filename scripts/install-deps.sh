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

# ardour: a real host in the suite, run headless (ardour7-lua, its Dummy
# backend, its VST 2 scanner).
# LV2: the headers and lv2_validate (lv2-dev, which needs sordi), lilv for the
# bit comparison with the VST 2 module, lilv's tools (lv2info, lv2apply,
# lv2bench), libsndfile for the test's WAV files, jalv and a JACK server for
# the editor in a real host, and LSP's plug-ins as the benchmark's peer.
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  googletest libgtest-dev libgmock-dev libbenchmark-dev libstb-dev libcxxopts-dev libxcb1-dev \
  libxcb-image0-dev libxcb-xtest0-dev libxcb-xfixes0-dev \
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
  wine wine32:i386 wine64 xvfb xauth \
  ardour \
  lv2-dev liblilv-dev lilv-utils sordi libsndfile1-dev jalv jackd2 lsp-plugins-lv2 \
  valgrind ca-certificates >/dev/null

# The i686 DLL and its test programs are 32-bit. Where the kernel runs no
# 32-bit code (started without ia32_emulation), they run through qemu-user,
# registered with binfmt_misc for i386 programs; slower, but the same checks.
# Prints one line saying how 32-bit programs run, or why they cannot.
i386_handler=/proc/sys/fs/binfmt_misc/qemu-i386
# The ELF header of an i386 executable or shared object, and the bytes to match.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

register_i386_emulation() {
  $SUDO apt-get install -y -qq --no-install-recommends qemu-user >/dev/null || return 1
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || return 1
  fi
  if [ -e "$i386_handler" ]; then
    echo 1 | $SUDO tee "$i386_handler" >/dev/null || return 1
  else
    # O: the open program is handed over, C: its credentials are kept,
    # F: qemu is opened now, so it also runs inside other mount namespaces.
    printf ':qemu-i386:M::%s:%s:/usr/bin/qemu-i386:OCF' "$i386_magic" "$i386_mask" |
      $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null || return 1
  fi
}

if runs_32bit; then
  if [ -e "$i386_handler" ] && grep -qx enabled "$i386_handler"; then
    echo "32-bit programs: run through qemu-user (slow; booting with ia32_emulation=on is faster)"
  else
    echo "32-bit programs: run natively"
  fi
elif register_i386_emulation 2>/dev/null && runs_32bit; then
  echo "32-bit programs: the kernel runs none, so they now run through qemu-user (slow)"
else
  echo "32-bit programs: cannot run here (no 32-bit kernel support, and qemu-user could not" \
       "be registered with binfmt_misc: root and a binfmt_misc mount are needed); their" \
       "checks will be skipped"
fi
