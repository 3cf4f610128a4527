#!/usr/bin/env bash
# voice_reproducible_test.sh SOURCES BUILT VOICETOOL VOICEDB: making the voice
# again, the synthetic voice's database included, with the same tools gives
# the same bytes.
set -euo pipefail
sources=$1 built=$2 voicetool=$3 voicedb=$4
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
"$voicedb" --phonemes "$sources/aureatts/espeak-phonemes.tsv" --diphones "$sources/aureatts/portug.dfn" \
  --out "$again/br4" >/dev/null
"$sources/build-voice.sh" "$again" "$voicetool" "$again/br4" >/dev/null
if ! diff -r -q "$built/drive_c" "$again/drive_c"; then
  echo "FAIL: the voice came out different the second time" >&2
  exit 1
fi
echo "the voice made twice is the same, byte for byte"
