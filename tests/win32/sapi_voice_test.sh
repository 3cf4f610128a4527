#!/usr/bin/env bash
# sapi_voice_test.sh TESTS.exe VOZSAPI.dll MBROLA.dll NATIVE_BUILD: the
# Portuguese SAPI 5 voice installed with regsvr32 in a fresh Wine prefix
# beside its data, then its samples for a sentence against the native
# tool's for the same text.
set -euo pipefail
exe=$(realpath "$1") dll=$(realpath "$2") engine=$(realpath "$3") native=$(realpath "$4")
work=${RIG_ROOT:-$(pwd)/build/rig}/sapi-voice-data
rm -rf "$work"
mkdir -p "$work/voz"
voice=$native/voice/drive_c/tarsis/aureatts
for f in "$voice"/br4 "$voice"/portug.*; do ln -s "$f" "$work/voz/"; done
cp "$dll" "$engine" "$work/voz/"
text="Entre comando MCI. Bom dia! A reunião começa às 14 horas."
"$native/tradutor" speak --out "$work/reference.wav" "$text"
# The text goes in a file, in the voice's code page: an environment variable
# would pass through Wine's conversion from the Unix locale.
printf '%s' "$text" | iconv -f UTF-8 -t CP1252 >"$work/text.txt"
windows() { echo "Z:$1" | tr / '\\'; }
export SAPI_VOICE_REFERENCE SAPI_VOICE_TEXT
SAPI_VOICE_REFERENCE=$(windows "$work/reference.wav")
SAPI_VOICE_TEXT=$(windows "$work/text.txt")
exec "$(dirname "$0")/../rig/with-wine.sh" sapi-voice bash -c \
  'wine regsvr32 /s "$1" && wine "$2"' _ "$(windows "$work/voz/vozsapi.dll")" "$exe"
