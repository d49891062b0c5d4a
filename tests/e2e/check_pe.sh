#!/usr/bin/env bash
# Checks a Windows executable's header with the cross toolchain's objdump.
#   check_pe.sh imports EXE        it imports nothing but DLLs that every Windows has
#   check_pe.sh exports EXE NAME   it exports NAME
#   check_pe.sh lacks EXE NAME      it does not import the function NAME
set -euo pipefail
mode=$1 exe=$2
dump=$(x86_64-w64-mingw32-objdump -p "$exe")
case $mode in
imports)
    dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
    [ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
    echo "imports: $(tr '\n' ' ' <<<"$dlls")"
    bad=$(grep -viE '^(kernel32|user32|gdi32|msvcrt)\.dll$' <<<"$dlls" || true)
    [ -z "$bad" ] || { echo "not a system DLL: $bad"; exit 1; }
    ;;
exports)
    grep -qE "^\s*\[\s*[0-9]+\]\s+$3$" <<<"$dump" || { echo "$exe does not export $3"; exit 1; }
    echo "exports $3"
    ;;
lacks)
    # Imported functions are listed as: address, hint, name.
    grep -qiE "^\s+([0-9a-f]+\s+)+$3$" <<<"$dump" && { echo "$exe imports $3"; exit 1; }
    echo "does not import $3"
    ;;
*) echo "usage: check_pe.sh imports|exports|lacks EXE [NAME]"; exit 2 ;;
esac
