#!/usr/bin/env bash
# Checks a built library's export table (the entry point and nothing else) and,
# for the Windows DLLs, that only system DLLs are imported.
# Usage: check_exports.sh linux|lv2-dsp|lv2-ui|win32|win64 <library>
set -euo pipefail
kind=$1
library=$2
fail() { echo "FAIL: $*"; exit 1; }

case "$kind" in
  linux)
    exports=$(nm -D --defined-only "$library" | awk '{print $3}' | sort | tr '\n' ' ')
    echo "exports: $exports"
    [ "$exports" = "VSTPluginMain main " ] || fail "expected exactly VSTPluginMain and main"
    ;;
  lv2-dsp|lv2-ui)
    expected=lv2_descriptor
    [ "$kind" = lv2-ui ] && expected=lv2ui_descriptor
    exports=$(nm -D --defined-only "$library" | awk '{print $3}' | sort | tr '\n' ' ')
    echo "exports: $exports"
    [ "$exports" = "$expected " ] || fail "expected exactly $expected"
    ;;
  win32|win64)
    if [ "$kind" = win32 ]; then objdump=i686-w64-mingw32-objdump; format=pei-i386
    else objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64; fi
    header=$($objdump -f "$library")
    echo "$header" | grep -q "file format $format" || fail "not a $format DLL"
    table=$($objdump -p "$library")
    exports=$(echo "$table" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && NF==0{on=0} on {print $NF}' | tr '\n' ' ')
    echo "exports: $exports"
    [ "$exports" = "main " ] || fail "expected exactly one export, main"
    imports=$(echo "$table" | awk '/DLL Name:/{print toupper($3)}' | sort -u | tr '\n' ' ')
    echo "imports: $imports"
    for dll in $imports; do
      case "$dll" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|MSVCRT.DLL|ADVAPI32.DLL|API-MS-WIN-*) ;;
        *) fail "imports a non-system DLL: $dll" ;;
      esac
    done
    ;;
  *) fail "unknown kind $kind" ;;
esac
echo "ok"
