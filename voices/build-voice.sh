#!/usr/bin/env bash
# build-voice.sh OUT VOICETOOL [DATABASE]
# Makes the default installation in OUT/drive_c, laid out as it goes on the
# C: drive: tarsis/som/letras (every recording of recordings.tsv and the
# telephone tones), tarsis/som/difones (the diphone voice FALAMCI.IND/.DIF
# from segments.tsv, regras.rgr, portug.exc), tarsis/aureatts (the language
# data of the Portuguese MBROLA voice, from aureatts/, and its diphone
# database br4 when DATABASE is given) and windows/ORALIS.INI.
# Speech comes from espeak-ng (pt-br), shaped by sox: 8-bit unsigned mono at
# 11025 Hz, silence trimmed, no dither, so the same tools give the same bytes.
set -euo pipefail
src=$(cd "$(dirname "$0")" && pwd)
top=$1
voicetool=$2
database=${3:-}
out=$top/drive_c/tarsis/som
work=$top/.work
rm -rf "$top/drive_c" "$work"
mkdir -p "$out/letras" "$out/difones" "$top/drive_c/windows" "$top/drive_c/tarsis/aureatts" "$work/raw" "$work/wav"

export LC_ALL=C.UTF-8
# Trim what espeak-ng leaves silent before and after the sound.
trim='silence 1 0.005 -40d reverse silence 1 0.005 -40d reverse'

recording() {  # NAME TEXT OPTIONS: a WAV file of the letters directory
  local name=$1 text=$2 options=$3
  # shellcheck disable=SC2086
  espeak-ng -v pt-br -s 165 $options -w "$work/wav/$name.in.wav" "$text"
  # shellcheck disable=SC2086
  sox -D "$work/wav/$name.in.wav" -r 11025 -c 1 -b 8 -e unsigned-integer -t raw "$work/wav/$name.raw" norm -1 $trim
  "$voicetool" wav "$work/wav/$name.raw" "$out/letras/$name.wav"
}

segment() {  # NAME PHONEMES KEEP: raw samples of one segment of the diphone voice
  local name=${1#\$} phonemes=$2 keep=$3 shape=""
  case $keep in
    head\ *) shape="trim 0 0.0${keep#head }" ;;
    tail\ *) shape="reverse trim 0 0.0${keep#tail } reverse" ;;
  esac
  espeak-ng -v pt-br -s 165 -w "$work/wav/seg_$name.wav" "[[$phonemes]]"
  # shellcheck disable=SC2086
  sox -D "$work/wav/seg_$name.wav" -r 11025 -c 1 -b 8 -e unsigned-integer -t raw "$work/raw/$name.raw" \
    norm -1 $trim $shape
}
export -f recording segment
export out work trim voicetool

# One job per line, run two at a time (the machine's cores).
{
  grep -v '^#' "$src/recordings.tsv" | while IFS=$'\t' read -r name text options _; do
    printf 'recording\0%s\0%s\0%s\0' "$name" "$text" "$options"
  done
  grep -v '^#' "$src/segments.tsv" | while IFS=$'\t' read -r name phonemes keep _; do
    printf 'segment\0%s\0%s\0%s\0' "$name" "$phonemes" "$keep"
  done
} | xargs -0 -n 4 -P "$(nproc)" bash -c '"$0" "$@"'

"$voicetool" dtmf "$out/letras"
"$voicetool" pack "$src/segments.tsv" "$work/raw" "$out/difones/FALAMCI"
cp "$src/regras.rgr" "$src/portug.exc" "$out/difones/"
cp "$src/ORALIS.INI" "$top/drive_c/windows/ORALIS.INI"
cp "$src"/aureatts/portug.* "$top/drive_c/tarsis/aureatts/"
rm -rf "$work"
echo "voice: $(ls "$out/letras" | wc -l) recordings, $(($(stat -c %s "$out/difones/FALAMCI.IND") / 15)) segments in $out"
[ -z "$database" ] || cp "$database" "$top/drive_c/tarsis/aureatts/br4"
