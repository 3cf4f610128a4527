#!/usr/bin/env bash
# soak.sh [CYCLES]: the long falamci session under Wine (tests/soak) for the
# 64-bit build, then for the 32-bit build where this machine runs 32-bit
# code (otherwise one line says why, and that run counts as skipped).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cycles=${1:-30}
native=build/native
cmake --preset native >/dev/null && cmake --build --preset native --target voice tradutor_tool voicetool || exit 1
status=0
results=()
for bits in 64 32; do
  if [ "$bits" = 32 ] && ! why=$(scripts/runs-32bit.sh); then
    echo "soak 32-bit: skipped: $why"
    results+=("32-bit: skipped")
    continue
  fi
  build=build/win$bits
  if ! { cmake --preset "win$bits" >/dev/null && cmake --build --preset "win$bits" --target falamci console_win32_tests; }; then
    results+=("$bits-bit: build failed")
    status=1
    continue
  fi
  if RIG_BITS=$bits RIG_ROOT=$top/$build/rig tests/soak/falamci_soak.sh "$build/console/falamci.exe" \
      "$build/tests/win32/console_win32_tests.exe" "$native/voice" "$native/tradutor" "$native/tools/voicetool" "$cycles"; then
    results+=("$bits-bit: passed")
  else
    results+=("$bits-bit: failed")
    status=1
  fi
done
echo "Soak: ${results[*]}"
exit $status
