#!/usr/bin/env bash
# sapi_voice_both_test.sh TESTS64.exe VOZSAPI64.dll MBROLA64.dll WIN32_BUILD NATIVE_BUILD:
# the 64-bit and the 32-bit Portuguese SAPI 5 voice in one 64-bit Wine 10
# prefix, each beside its own engine and the data, each registered by the
# regsvr32 of its bitness into its own registry view; then a program of
# each bitness must list the voice once and hear from it what the native
# tool says. Exits 77 (skipped) where this machine or prefix runs no 32-bit
# code, or the 32-bit build is missing.
set -euo pipefail
tests64=$(realpath "$1") dll64=$(realpath "$2") engine64=$(realpath "$3") win32=$4 native=$(realpath "$5")
skip() { echo "skipped: $*"; exit 77; }
if ! why=$("$(dirname "$0")/../../scripts/runs-32bit.sh"); then skip "$why"; fi
tests32=$win32/tests/win32/sapi_voice_tests.exe dll32=$win32/sapivoice/vozsapi.dll engine32=$win32/psola/mbrola.dll
for f in "$tests32" "$dll32" "$engine32"; do [ -f "$f" ] || skip "the 32-bit build has no $(basename "$f")"; done
name=sapi-voice-both
work=${RIG_ROOT:-$(pwd)/build/rig}/$name-data
rm -rf "$work"
voice=$native/voice/drive_c/tarsis/aureatts
for bits in 64 32; do
  mkdir -p "$work/voz$bits"
  for f in "$voice"/br4 "$voice"/portug.*; do ln -s "$f" "$work/voz$bits/"; done
done
cp "$dll64" "$engine64" "$work/voz64/"
cp "$(realpath "$dll32")" "$(realpath "$engine32")" "$work/voz32/"
text="Entre comando MCI. Bom dia!"
"$native/tradutor" speak --out "$work/reference.wav" "$text"
printf '%s' "$text" >"$work/text.txt"
windows() { echo "Z:$1" | tr / '\\'; }
export SAPI_VOICE_REFERENCE SAPI_VOICE_TEXT
SAPI_VOICE_REFERENCE=$(windows "$work/reference.wav")
SAPI_VOICE_TEXT=$(windows "$work/text.txt")
export RIG_BITS=64
exec "$(dirname "$0")/../rig/with-wine10.sh" "$name" bash -c '
  [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] || { echo "skipped: this Wine prefix runs no 32-bit programs"; exit 77; }
  wine regsvr32 /s "$1" || { echo "the 64-bit regsvr32 did not install the 64-bit voice" >&2; exit 1; }
  wine "C:\\windows\\syswow64\\regsvr32.exe" /s "$2" || { echo "the 32-bit regsvr32 did not install the 32-bit voice" >&2; exit 1; }
  status=0
  filter="--gtest_filter=*RegisteredIt*:*ItSays*"
  wine "$3" "$filter" || status=1
  wine "$4" "$filter" || status=1
  exit $status' _ "$(windows "$work/voz64/vozsapi.dll")" "$(windows "$work/voz32/vozsapi.dll")" "$tests64" "$(realpath "$tests32")"
