#!/usr/bin/env bash
# sapi_voice_test.sh TESTS.exe VOZSAPI.dll MBROLA.dll NATIVE_BUILD [WIN32_TESTS.exe]:
# the Portuguese SAPI 5 voice installed with regsvr32 in a fresh Wine prefix
# beside its data, then its samples for a sentence against the native
# tool's for the same text. With WIN32_TESTS, the SAPI adapters' tests run
# after, in the same prefix, given the sentence and its samples. SAPI_RIG
# names the rig (default with-wine.sh; with-wine10.sh for Wine 10).
set -euo pipefail
exe=$(realpath "$1") dll=$(realpath "$2") engine=$(realpath "$3") native=$(realpath "$4")
adapters=${5:+$(realpath "$5")}
rig=${SAPI_RIG:-with-wine.sh}
name=sapi-voice${SAPI_RIG:+-${rig%.sh}}
work=${RIG_ROOT:-$(pwd)/build/rig}/$name-data
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
export SAPI_VOICE_REFERENCE SAPI_VOICE_TEXT SAPI_VOICE_DLL
SAPI_VOICE_DLL=$(windows "$work/voz/vozsapi.dll")
SAPI_VOICE_REFERENCE=$(windows "$work/reference.wav")
SAPI_VOICE_TEXT=$(windows "$work/text.txt")
exec "$(dirname "$0")/../rig/$rig" "$name" bash -c '
  wine regsvr32 /s "$1" || { echo "regsvr32 did not install the voice" >&2; exit 1; }
  status=0
  wine "$2" || status=1
  if [ -n "$3" ]; then wine "$3" --gtest_filter="Sapi*" || status=1; fi
  exit $status' _ "$(windows "$work/voz/vozsapi.dll")" "$exe" "$adapters"
