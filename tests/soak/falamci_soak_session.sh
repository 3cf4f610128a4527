#!/usr/bin/env bash
# The part of falamci_soak.sh that runs inside the Wine session.
set -euo pipefail
exe=$1 tests=$2 voice=$3 tradutor=$4 voicetool=$5 cycles=$6
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../rig/wine-window.sh
. "$(dirname "$0")/../rig/wine-window.sh"
work=$RIG_DIR/expected
mkdir -p "$work" "$RIG_DIR/bin"

# The session runs for a long time: it works on copies, so that a build
# meanwhile changes nothing under it.
cp -r "$voice/drive_c/." "$WINEPREFIX/drive_c/"
cp "$exe" "$(dirname "$exe")"/*.dll "$WINEPREFIX/drive_c/tarsis/"
cp "$tests" "$tradutor" "$voicetool" "$RIG_DIR/bin/"
exe=$WINEPREFIX/drive_c/tarsis/falamci.exe
tests=$RIG_DIR/bin/$(basename "$tests")
tradutor=$RIG_DIR/bin/$(basename "$tradutor")
voicetool=$RIG_DIR/bin/$(basename "$voicetool")
letters=$WINEPREFIX/drive_c/tarsis/som/letras
ini=$WINEPREFIX/drive_c/windows/ORALIS.INI
mkdir -p "$WINEPREFIX/drive_c/soak"
# Three short WAV files: recordings of the default voice.
for n in 1 2 3; do cp "$letters/_$((96 + n)).wav" "$WINEPREFIX/drive_c/soak/t$n.wav"; done
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1

(cd "$WINEPREFIX/drive_c/tarsis" && exec wine "$exe") &
program=$!
find_window falamci
setxkbmap -option srvrkeys:none  # Ctrl+Alt+F9 to the program, not to a console switch
sleep 3

# The utterances the sound must hold, in order (each a WAV made by the tool).
sounds=()
said=0
expect_said() {
  said=$((said + 1))
  local wav=$work/said-$said.wav
  "$tradutor" say --ini "$ini" --drive-c "$WINEPREFIX/drive_c" --out "$wav" "$1" >/dev/null
  sounds+=("$wav")
}
# The lines the screen must show since the last check.
lines=()
commands=0
answers=0
run() {  # run COMMAND ANSWER [SPOKEN]: ANSWER is the line expected after it ("" for none)
  xdotool type --delay 25 "$1"
  xdotool key Return
  commands=$((commands + 1))
  lines+=("Entre comando MCI" "${1:0:78}")  # the field shows a long line's first 78 columns
  if [ -n "$2" ]; then
    lines+=("$2")
    answers=$((answers + 1))
    [ "${3:-yes}" = no ] || expect_said "$2"
    sleep "$(((${#2} + 11) / 12 + 1))"  # the answer is begun (about 12 characters a second)
  else
    sleep 1
  fi
  # ...and heard to its end with the prompt after it, however late a loaded
  # machine began it: the echoes of a long line's keys can still be playing
  # when its Return is typed, and the next key would cut the answer short.
  sound_settles "$RIG_DIR/sound.raw" 0
}
check_screen() {  # the screen, read back through the review mode's copy
  xdotool key ctrl+alt+F9; sleep 0.7
  xdotool key ctrl+c; sleep 0.5
  local screen
  screen=$(xclip -o -selection clipboard | tr -d '\r' | sed 's/ *$//')
  xdotool key Escape; sleep 0.7
  local expected
  expected=$(printf '%s\n' "${lines[@]}" "Entre comando MCI")
  case "$screen" in
    *"$expected"*) ;;
    *) fail "after command $commands the screen shows:
$screen
expected at its end:
$expected" ;;
  esac
  lines=()
}
figures() { wine "$tests" --process-figures falamci.exe | tr -d '\r'; }
value() { echo "$1" | sed -nE "s/.*$2=([0-9]+).*/\1/p"; }

rejected="frobnicate s"
rejected_text=$(wine "$tests" --mci-error "$rejected" | tr -d '\r')
long151="open c:\\soak\\$(printf 'x%.0s' $(seq 1 122)).wav alias longo"
long151_text=$(wine "$tests" --mci-error "$long151" | tr -d '\r')
long152="open c:\\soak\\$(printf 'x%.0s' $(seq 1 123)).wav alias longo"
closed_text=$(wine "$tests" --mci-error "status s mode" | tr -d '\r')
too_long='Comando longo demais: o MCI aceita até 151 caracteres'
[ ${#long151} -eq 151 ] && [ ${#long152} -eq 152 ] || fail "the long commands are ${#long151} and ${#long152} long"

start_figures=""
: >"$RIG_DIR/figures.txt"  # round, private bytes, handles: one line a round
for ((cycle = 1; cycle <= cycles; cycle++)); do
  file="c:\\soak\\t$((cycle % 3 + 1)).wav"
  run "open $file alias s" "retorno 1"
  run "status s mode" "retorno stopped"
  run "play s wait" ""
  sounds+=("$WINEPREFIX/drive_c/soak/t$((cycle % 3 + 1)).wav")
  run "status s ready" "retorno true"
  run "$rejected" "$rejected_text"
  check_screen
  xdotool key ctrl+alt+F11; sleep 0.5  # Braille keyboard on, and off again
  xdotool key ctrl+alt+F12; sleep 0.5
  run "$long151" "$long151_text"
  run "$long152" "$too_long"
  # Speed 3 chosen by hand (the speech restarted at it): the answer as the
  # tool says it at the INI's speed 3, and the prompt after it, in full.
  xdotool key ctrl+F4; sleep 0.5; xdotool key 3; sleep 0.5
  run "status s mode" "retorno stopped"
  expect_said "Entre comando MCI"
  sleep 2
  xdotool key ctrl+F4; sleep 0.5; xdotool key 0; sleep 0.5
  run "close s" ""
  run "status s mode" "$closed_text"
  check_screen
  round_figures=$(figures)
  echo "$cycle $(value "$round_figures" private) $(value "$round_figures" handles)" >>"$RIG_DIR/figures.txt"
  [ "$commands" -ge 20 ] && [ -z "$start_figures" ] && start_figures=$round_figures
  echo "cycle $cycle: $commands commands, $answers answers on the screen; $round_figures"
done
end_figures=$(figures)
xdotool key Return
for _ in $(seq 1 150); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "falamci ended with $status, expected 0"

"$voicetool" find "$RIG_DIR/sound.raw" "${sounds[@]}" >"$RIG_DIR/found.txt" ||
  fail "the sound lacks $(grep -c missing "$RIG_DIR/found.txt") of ${#sounds[@]} utterances: $(grep missing "$RIG_DIR/found.txt" | head -3)"

echo "after 20 commands: $start_figures"
echo "at the end:        $end_figures"
# A leak shows as a rising line through the figures of the rounds: the
# least-squares slope per round (the first round left out when there are
# three or more, since it fills the program's caches) may not pass 64 KiB
# of private memory or half a handle a round; a falling or flat line passes.
trend() {  # trend COLUMN LIMIT NAME
  awk -v col="$1" -v limit="$2" -v name="$3" '
    { round[NR] = $1; value[NR] = $col }
    END {
      first = NR >= 3 ? 2 : 1
      for (i = first; i <= NR; i++) { n++; sx += round[i]; sy += value[i]; sxx += round[i] * round[i]; sxy += round[i] * value[i] }
      if (n < 2 || n * sxx == sx * sx) { printf "%s: too few rounds for a trend\n", name; exit 0 }
      slope = (n * sxy - sx * sy) / (n * sxx - sx * sx)
      printf "%s: %+.1f a round over %d rounds (limit %s)\n", name, slope, n, limit
      exit slope > limit
    }' "$RIG_DIR/figures.txt"
}
trend 2 65536 "private bytes" || fail "private memory rises round after round: $(tr '\n' ';' <"$RIG_DIR/figures.txt")"
trend 3 0.5 "handles" || fail "handles rise round after round: $(tr '\n' ';' <"$RIG_DIR/figures.txt")"
for what in private handles; do
  a=$(value "$start_figures" $what) b=$(value "$end_figures" $what)
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -gt 0 ] || fail "no $what figure from Wine"
  [ $((b * 100)) -le $((a * 105)) ] && [ $((b * 100)) -ge $((a * 95)) ] ||
    fail "$what grew from $a to $b over the session"
done
echo "falamci soak: $commands commands, $answers answers on the screen, ${#sounds[@]} sounds heard in order ($(grep -c gaps "$RIG_DIR/found.txt" || true) with the device's silence inside), ended with 0"
