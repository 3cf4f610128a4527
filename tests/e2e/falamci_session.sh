#!/usr/bin/env bash
# The part of falamci_e2e.sh that runs inside the Wine session.
set -euo pipefail
exe=$1 tests=$2 voice=$3 tradutor=$4 voicetool=$5 build=$6
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../rig/wine-window.sh
. "$(dirname "$0")/../rig/wine-window.sh"
letters=$voice/drive_c/tarsis/som/letras
ini=$voice/drive_c/windows/ORALIS.INI

cp -r "$voice/drive_c/." "$WINEPREFIX/drive_c/"
# Wine has no Courier New: let it draw with a fixed-pitch font it has.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1

start_falamci() {
  (cd "$WINEPREFIX/drive_c/tarsis" && exec wine "$exe") &
  program=$!
  find_window falamci
  # X maps Ctrl+Alt+F9 to a console switch; the review mode needs the key
  # itself. (Set once Wine runs: it reads the new map from then on.)
  setxkbmap -option srvrkeys:none
  sound_settles "$RIG_DIR/sound.raw" 0  # the prompt is heard whole before the first key
}

wait_end() {  # wait_end WHAT: the program must end with exit code 0
  for _ in $(seq 1 150); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  local status=0
  wait "$program" || status=$?
  [ "$status" -eq 0 ] || fail "$1: falamci ended with $status, expected 0"
}

command_line() { xdotool type --delay 60 "$1"; xdotool key Return; sleep 2; }

start_falamci
# Each letter heard to its end, since the test looks for every recording.
type_heard "$RIG_DIR/sound.raw" "open new type waveaudio alias w"
xdotool key Return
sleep 2
command_line "status w mode"
command_line "frobnicate w"
command_line "close w"

# The screen, read back the way a user reads it: review mode, Ctrl+C, Esc.
xdotool key ctrl+alt+F9; sleep 1
xdotool key ctrl+c; sleep 1
screen=$(xclip -o -selection clipboard | tr -d '\r')
xdotool key Escape; sleep 1
import -window "$window" "$build/falamci.png" 2>/dev/null || true
xdotool key Return
wait_end "Enter on an empty line"

wine_error=$(wine "$tests" --mci-error "frobnicate w" | tr -d '\r')
expected="
Entre comando MCI
open new type waveaudio alias w
retorno 1
Entre comando MCI
status w mode
retorno stopped
Entre comando MCI
frobnicate w
$wine_error
Entre comando MCI
close w
Entre comando MCI"
shown=$(echo "$screen" | sed 's/ *$//' | head -n 13)
[ "$shown" = "$expected" ] || fail "the screen shows:
$shown
expected:
$expected"

# The sound: the prompt from the diphone voice, each typed letter's
# recording in order, and "retorno" spoken.
"$tradutor" say --ini "$ini" --drive-c "$voice/drive_c" --out "$RIG_DIR/prompt.wav" "Entre comando MCI"
"$tradutor" say --ini "$ini" --drive-c "$voice/drive_c" --out "$RIG_DIR/retorno.wav" "retorno"
typed=()
text="open new type waveaudio alias w"
for ((i = 0; i < ${#text}; i++)); do typed+=("$letters/_$(printf '%d' "'${text:i:1}").wav"); done
"$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/prompt.wav" "${typed[@]}" "$RIG_DIR/retorno.wav" >"$RIG_DIR/found.txt" ||
  fail "the sound did not hold what was expected: $(grep missing "$RIG_DIR/found.txt" | head -3)"

# Esc after typing ends the program too.
start_falamci
xdotool type --delay 60 "abc"
xdotool key Escape
wait_end "Esc after typing"
echo "falamci end to end: screen, Wine's error text, sound, and both ways to end as expected"
