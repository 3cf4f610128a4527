#!/usr/bin/env bash
# runs-32bit.sh: exits 0 when this machine runs 32-bit x86 code; otherwise
# prints one line saying why and exits 1. Some machines of the same kind
# have no 32-bit support in the kernel at all: there neither 32-bit Wine nor
# a WoW64 Wine can run an i686 program. So it is probed, never assumed: a
# 95-byte i386 ELF that needs no library and exits with 42. FALAMCI_NO_32BIT=1
# answers no without probing, to try the 64-bit-only path on any machine.
set -uo pipefail
if [ "${FALAMCI_NO_32BIT:-}" = 1 ]; then
  echo "32-bit code is switched off here by FALAMCI_NO_32BIT=1"
  exit 1
fi
top=$(cd "$(dirname "$0")/.." && pwd)
# In the tree, not /tmp: a /tmp mounted noexec would look like a machine
# without 32-bit support. /tmp only where the tree cannot be written.
mkdir -p "$top/build" 2>/dev/null
probe=$(mktemp "$top/build/.i386-probe.XXXXXX" 2>/dev/null || mktemp 2>/dev/null) ||
  { echo "cannot tell whether this machine runs 32-bit code: no folder to write a probe in"; exit 1; }
trap 'rm -f "$probe"' EXIT
# ELF header, one PT_LOAD program header, then: xor ebx,ebx; mov bl,42;
# mov eax,1 (exit); int 0x80.
printf '%b' '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x5f\x00\x00\x00\x5f\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\x31\xdb\xb3\x2a\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
error=$("$probe" 2>&1)
rc=$?
[ $rc -eq 42 ] && exit 0
# The shell's complaint ends with the reason: "...: Exec format error".
echo "this machine cannot run 32-bit code (a tiny i386 program: ${error:+${error##*: }}${error:-exit code $rc})"
exit 1
