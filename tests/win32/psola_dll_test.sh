#!/usr/bin/env bash
# psola_dll_test.sh TESTS.exe NATIVE_BUILD: the front end's lines for a
# sentence and their samples from the native engine, then mbrola.dll under
# Wine given the same lines.
set -euo pipefail
exe=$1 native=$2
work=${RIG_ROOT:-$(pwd)/build/rig}/psola-dll-data
rm -rf "$work"
mkdir -p "$work"
voice=$native/voice/drive_c/tarsis/aureatts
"$native/tradutor" pho --data "$voice" "Entre comando MCI. Bom dia! A reunião começa às 14 horas, na sala 3; não se atrase." \
  >"$work/lines.pho"
"$native/tradutor" synth --db "$voice/br4" --out "$work/reference.wav" "$work/lines.pho"
windows() { echo "Z:$1" | tr / '\\'; }
export PSOLA_DB PSOLA_LINES PSOLA_REFERENCE
PSOLA_DB=$(windows "$voice/br4")
PSOLA_LINES=$(windows "$work/lines.pho")
PSOLA_REFERENCE=$(windows "$work/reference.wav")
exec "$(dirname "$0")/../rig/with-wine.sh" psola-dll wine "$exe"
