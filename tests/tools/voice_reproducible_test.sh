#!/usr/bin/env bash
# voice_reproducible_test.sh SOURCES BUILT VOICETOOL: making the voice again
# with the same tools gives the same bytes.
set -euo pipefail
sources=$1 built=$2 voicetool=$3
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
"$sources/build-voice.sh" "$again" "$voicetool" >/dev/null
if ! diff -r -q "$built/drive_c" "$again/drive_c"; then
  echo "FAIL: the voice came out different the second time" >&2
  exit 1
fi
echo "the voice made twice is the same, byte for byte"
