#!/usr/bin/env bash
# agreement.sh CORPUS: how often the synthetic voice pronounces words as
# espeak-ng does, on the benchmark corpus and on 3,000 words of the
# wbrazilian word list that no rule was written against, drawn with a fixed
# seed so that every run measures the same words.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(realpath "$1")
tool=$top/build/native/tools/agreement
data=$top/build/native/voice/drive_c/tarsis/aureatts
sample=$(mktemp)
trap 'rm -f "$sample"' EXIT
# shuf's random source is a fixed stream of bytes: the seed.
shuf -n 3000 --random-source=<(yes falamci) /usr/share/dict/brazilian >"$sample"
echo "== the benchmark corpus ($(basename "$corpus"))"
"$tool" --data "$data" "$corpus"
echo "== 3000 words of wbrazilian, fixed seed"
"$tool" --data "$data" "$sample"
