#!/usr/bin/env bash
# agreement.sh CORPUS: how often each voice pronounces words as espeak-ng
# does, on three texts:
#   - the benchmark corpus;
#   - a text no rule was written against: the Brazilian fortune cookies of
#     the package fortunes-br (jokes, quotes and sayings in everyday prose),
#     its word types split once, with a fixed seed, into a half looked at
#     word by word while mending rules ("studied") and a half that is only
#     ever measured ("held out");
#   - 3,000 words of the wbrazilian word list, drawn with a fixed seed.
# The synthetic voice is measured with its data files, the diphone voice
# with its letter rules (voices/regras.rgr and portug.exc). AGREEMENT_LIST=1
# lists every disagreement.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(realpath "$1")
tool=$top/build/native/tools/agreement
data=$top/build/native/voice/drive_c/tarsis/aureatts
prose=/usr/share/games/fortunes/brasil
if [ ! -f "$prose" ]; then
  echo "agreement: installing fortunes-br for its prose"
  apt-get install -y -q fortunes-br >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shuf's random source is a fixed stream of bytes: the seed.
seeded() { shuf --random-source=<(yes falamci) "$@"; }
seeded -n 3000 /usr/share/dict/brazilian >"$work/wbrazilian"
# The text's words, one lower-case type a line.
perl -CSD -ne '$seen{lc $_} = 1 for /(\p{L}+)/g; END { print "$_\n" for sort keys %seen }' "$prose" >"$work/prose"
half=$(($(wc -l <"$work/prose") / 2))
seeded "$work/prose" >"$work/shuffled"
head -n "$half" "$work/shuffled" >"$work/studied"
tail -n +"$((half + 1))" "$work/shuffled" >"$work/held-out"
list=()
[ "${AGREEMENT_LIST:-}" = 1 ] && list=(--list)
for text in corpus studied held-out wbrazilian; do
  case $text in
    corpus) file=$corpus title="the benchmark corpus ($(basename "$corpus"))" ;;
    studied) file=$work/studied title="fortunes-br, the half studied" ;;
    held-out) file=$work/held-out title="fortunes-br, the half held out" ;;
    wbrazilian) file=$work/wbrazilian title="3000 words of wbrazilian, fixed seed" ;;
  esac
  echo "== $title: the synthetic voice"
  "$tool" "${list[@]}" --data "$data" "$file"
  echo "== $title: the diphone voice"
  "$tool" "${list[@]}" --diphone "$top/voices" "$file"
done
