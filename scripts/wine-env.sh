# Sourced by every script that starts a Windows program: which Wine loader a
# program needs, whether this machine can run 32-bit programs at all, and the
# environment every Wine run shares.

export WINEDEBUG=-all
# No runtime installers: the programs need neither .NET nor a browser engine.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Read only by qemu-user, where 32-bit programs run through it: reserving the
# guest's whole 4 GiB up front keeps Wine's fixed mappings (the shared user
# data page among them) from failing once the address space has filled up.
export QEMU_RESERVED_VA=0xffff0000

# Exit code of a check that cannot run on this machine; CTest reports it as
# skipped (SKIP_RETURN_CODE).
VORN_SKIP_CODE=77

WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64

# The optional header's magic of a PE file: 010b for PE32, 020b for PE32+.
pe_magic() {
  local file=$1 header
  header=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || return 1
  # The PE signature (4 bytes) and the file header (20) precede the magic.
  od -An -tx2 -j$((header + 24)) -N2 "$file" 2>/dev/null | tr -d ' '
}

# Prints wine64 for a PE32+ program and wine for a PE32 one. A 64-bit program
# must not start through the 32-bit loader, which a kernel without 32-bit
# support refuses before it can hand over to the 64-bit one.
wine_loader_name() {
  case "$(pe_magic "$1")" in
    020b) echo wine64 ;;
    010b) echo wine ;;
    *) echo "not a Windows program: $1" >&2; return 1 ;;
  esac
}

wine_loader_path() {
  case "$(wine_loader_name "$1")" in
    wine64) echo "$WINE64_LOADER" ;;
    wine) echo "$WINE32_LOADER" ;;
    *) return 1 ;;
  esac
}

# Why 32-bit programs cannot run here, or nothing when they can: natively, or
# through an emulator registered with binfmt_misc (scripts/install-deps.sh).
# VORN_TEST_NO_32BIT=1 makes the test and demo scripts act as on a machine
# that cannot, to show the skip path; nothing sets it by default.
no_32bit_reason() {
  if [ -n "${VORN_TEST_NO_32BIT:-}" ]; then
    echo "32-bit programs are turned off for this run (VORN_TEST_NO_32BIT is set)"
  elif [ ! -x /lib/ld-linux.so.2 ]; then
    echo "32-bit programs cannot run here: the i386 C library (wine32:i386) is not installed"
  elif ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "32-bit programs cannot run here: the kernel runs no 32-bit code and no emulator" \
         "is registered for it (scripts/install-deps.sh registers qemu-user; booting with" \
         "ia32_emulation=on is faster)"
  fi
}

# Ends every process of the Wine prefix in WINEPREFIX.
end_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
