#!/usr/bin/env bash
# tradutor_tool_test.sh TOOL: the command-line tool's output, its errors and
# exit codes, and a WAV file made by "say" with a voice made here.
set -uo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected [$2], got [$3]" >&2
    failures=$((failures + 1))
  fi
}

check "numbers" "mil e quinhentos e vinte" "$("$tool" numbers 1520)"
check "numbers accent" "um milhão" "$("$tool" numbers 1000000 | sed 's/ $//')"
"$tool" numbers abc 2>/dev/null; check "numbers bad exit" 2 $?
"$tool" numbers 4294967296 2>/dev/null; check "numbers too big exit" 2 $?
"$tool" 2>/dev/null; check "no command exit" 2 $?
"$tool" frobnicate 2>/dev/null; check "unknown command exit" 2 $?
check "help" 0 "$("$tool" --help >/dev/null; echo $?)"

mkdir -p "$work/voz/letras" "$work/voz/difones"
printf "(A)=a\n(C)=k\n(K)=k\n(Z)=z\n(S)=s\n(E)=e\n(F)=f\n(')=\n" >"$work/voz/difones/regras.rgr"
printf 'casa=kAza\n' >"$work/voz/difones/portug.exc"
check "phonetic" "[k/A/z/a][k/A/z/a/s]" "$("$tool" phonetic --rules "$work/voz/difones" "casa casas")"
check "phonetic accent" "[k/a/f/e/]" "$("$tool" phonetic --rules "$work/voz/difones" "café")"
err=$("$tool" phonetic --rules "$work/voz/difones" "ça → x" 2>&1 >/dev/null); status=$?
check "outside Windows-1252 exit" 2 $status
check "outside Windows-1252 message" "tradutor: the character U+2192 at position 5 has no Windows-1252 code" "$err"
"$tool" phonetic --rules "$work/nowhere" "a" 2>/dev/null; check "missing rules exit" 1 $?

# A voice of one segment, $A: 500 samples of the value 30.
printf '\x02$A\0\0\0\0\0\0\xf4\x01\0\0\0\0' >"$work/voz/difones/TESTE.IND"
head -c 500 /dev/zero | tr '\0' '\036' >"$work/voz/difones/TESTE.DIF"
printf '[TRADUTOR]\nDIRLETRAS=%s\nDIRDIFONES=%s\n[SINTETIZADOR]\nDIFONES3=TESTE\n' \
  "$work/voz/letras" "$work/voz/difones" >"$work/ORALIS.INI"
"$tool" say --out "$work/a.wav" --ini "$work/ORALIS.INI" "a"; check "say exit" 0 $?
check "say size" 544 "$(stat -c %s "$work/a.wav")"
check "say header" "RIFF" "$(head -c 4 "$work/a.wav")"
check "say samples" 499 "$(tail -c 500 "$work/a.wav" | tr -cd '\036' | wc -c)"
"$tool" say --ini "$work/ORALIS.INI" "a" 2>/dev/null; check "say without --out" 2 $?
sed -i 's/DIFONES3=TESTE/DIFONES3=NADA/' "$work/ORALIS.INI"
err=$("$tool" say --out "$work/b.wav" --ini "$work/ORALIS.INI" "a" 2>&1); status=$?
check "say bad voice exit" 1 $status
check "say bad voice message" "tradutor: Erro de inicialização: 1
tradutor: Banco de dados de voz: NADA" "$err"

# The Portuguese front end's stages, on language data made here.
mkdir -p "$work/aurea"
printf 'Sr=senhor\n' >"$work/aurea/portug.abr"
printf '(C)=k\n(A)=a\n(S)#=z\n(S)=s\n(R)%%=r2\n(R)=r\n(M)=m\n' >"$work/aurea/portug.nrl"
printf 'MARES=MARS\n' >"$work/aurea/portug.exc"
printf '_ k\nk a\na z\nz a\na _\n' >"$work/aurea/portug.dfn"
printf '[DURA\xc7\xc3O]\na=100\nk=80\n[CHAVES]\nde=PR\n[PROS\xd3DIA]\nHERTZ=100\nTABHERTZ=0,0,0,0,0,100,0,0,0,0\n||=555\n' \
  >"$work/aurea/portug.pro"
check "normalize" "o senhor tem vinte e um  anos" "$("$tool" normalize --data "$work/aurea" "o Sr. tem 21 anos")"
check "stress" "CASA 2" "$("$tool" stress --data "$work/aurea" "casa")"
check "tokens" "[--]
[XX]casa
[,,],
[PR]de" "$("$tool" tokens --data "$work/aurea" "casa, de")"
check "codes" "555|
555|casa" "$("$tool" codes --data "$work/aurea" "casa")"
check "phonemes" ";555|
__

;555|casa
k
>a
z
a

__" "$("$tool" phonemes --data "$work/aurea" "casa")"
# "_ 50": the list has no "_ _"; the last pause closes the word, so it takes the third level.
check "pho" ";
_ 50
_ 100 50 100

;casa
k 80 50 100
a 145 80 100
z 145
a 145 50 100

_ 100 50 100" "$("$tool" pho --data "$work/aurea" "casa")"
"$tool" pho --data "$work/nowhere" "casa" 2>/dev/null; check "pho without data exit" 1 $?
"$tool" pho --data "$work/aurea" 2>/dev/null; check "pho without text exit" 2 $?

if [ $failures -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "tradutor tool: all checks passed"
