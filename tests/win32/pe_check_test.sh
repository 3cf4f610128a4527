#!/usr/bin/env bash
# pe_check_test.sh OBJDUMP FORMAT FILE [EXPORT...]: the Windows file FILE,
# read by the toolchain's objdump without running it, is a FORMAT
# (pei-i386 or pei-x86-64) file that needs no MinGW runtime DLL beside it
# and, when EXPORTs are given, exports exactly those plain names: programs
# find mbrola.dll's functions by GetProcAddress("init_MBR"), never by a
# decorated "init_MBR@4".
set -euo pipefail
objdump=$1 format=$2 file=$3
shift 3
fail() { echo "FAIL: $(basename "$file"): $*" >&2; exit 1; }
"$objdump" -f "$file" | grep -q "file format $format\$" ||
  fail "not a $format file: $("$objdump" -f "$file" | grep -o 'file format .*')"
headers=$("$objdump" -p "$file")
runtime=$(echo "$headers" | sed -nE 's/^\s*DLL Name: //p' | grep -iE '^lib(gcc|stdc|winpthread)' || true)
[ -z "$runtime" ] || fail "needs MinGW's $runtime beside it"
if [ $# -gt 0 ]; then
  exported=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -nE 's/^\s*\[ *[0-9]+\] //p' | sort)
  expected=$(printf '%s\n' "$@" | sort)
  [ "$exported" = "$expected" ] || fail "exports
$exported
expected
$expected"
fi
echo "$(basename "$file"): $format, no MinGW DLL${1:+, exports the $# names}"
