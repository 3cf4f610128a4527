#!/usr/bin/env bash
# The part of synthetic_voice_e2e.sh that runs inside the Wine session.
set -euo pipefail
exe=$1 voice=$2 tradutor=$3 voicetool=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../rig/wine-window.sh
. "$(dirname "$0")/../rig/wine-window.sh"
ini=$WINEPREFIX/drive_c/windows/ORALIS.INI

cp -r "$voice/drive_c/." "$WINEPREFIX/drive_c/"
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
wine reg add 'HKLM\SOFTWARE\TCTS\Mbrola\databases\br4' /ve /d 'C:\tarsis\aureatts\br4' /f >/dev/null 2>&1
sed -i 's/^SAPI=N/SAPI=S/' "$ini"
grep -q '^TIPOSAPI=3' "$ini" || fail "ORALIS.INI has no TIPOSAPI=3"

run_falamci() {  # run_falamci EXE: types one command, then Enter on an empty line; must end with 0
  : >"$RIG_DIR/sound.raw"
  (cd "$WINEPREFIX/drive_c/tarsis" && exec wine "$1") &
  local program=$!
  find_window falamci
  sleep 3
  xdotool type --delay 80 "status w"
  xdotool key Return
  sleep 3
  xdotool key Return
  for _ in $(seq 1 200); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  local status=0
  wait "$program" || status=$?
  [ "$status" -eq 0 ] || fail "falamci ended with $status, expected 0"
}

# With the synthetic voice: what falamci played holds, in order, the prompt
# and Wine's answer to an unknown alias, each exactly as tradutor speak makes it.
run_falamci "$exe"
answer=$(wine "$(dirname "$exe")/../tests/win32/console_win32_tests.exe" --mci-error "status w" | tr -d '\r')
"$tradutor" speak --out "$RIG_DIR/prompt.wav" "Entre comando MCI"
"$tradutor" speak --out "$RIG_DIR/answer.wav" "$answer"
"$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/prompt.wav" "$RIG_DIR/answer.wav" "$RIG_DIR/prompt.wav" \
  >"$RIG_DIR/found.txt" || fail "the synthetic voice's sound was not what tradutor speak makes: $(cat "$RIG_DIR/found.txt")"

# A key during the answer cuts it short: its first second is heard, not its end.
: >"$RIG_DIR/sound.raw"
(cd "$WINEPREFIX/drive_c/tarsis" && exec wine "$exe") &
program=$!
find_window falamci
sleep 3
xdotool type --delay 80 "status w"
xdotool key Return
# The key goes once the answer has been playing for a while (1.5 s of 16 kHz
# samples after the Return), however slowly a busy machine begins it.
start=$(stat -c %s "$RIG_DIR/sound.raw")
for _ in $(seq 1 200); do
  [ $(($(stat -c %s "$RIG_DIR/sound.raw") - start)) -ge 48000 ] && break
  sleep 0.05
done
xdotool key x
sleep 3
xdotool key BackSpace Return
for _ in $(seq 1 200); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
wait "$program" || fail "falamci did not end with 0 after the cut answer"
sox -D "$RIG_DIR/answer.wav" "$RIG_DIR/answer-start.wav" trim 0 1
"$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/answer-start.wav" >/dev/null || fail "the answer did not begin"
if "$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/answer.wav" >/dev/null; then
  fail "a key during the answer did not stop it"
fi

# Without the engine beside the program, and without its database, the
# recordings and the diphone voice speak instead.
"$tradutor" say --ini "$voice/drive_c/windows/ORALIS.INI" --drive-c "$voice/drive_c" --out "$RIG_DIR/recorded.wav" \
  "Entre comando MCI"
alone=$RIG_DIR/alone
mkdir -p "$alone"
cp "$exe" "$alone/"
run_falamci "$alone/$(basename "$exe")"
"$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/recorded.wav" >/dev/null || fail "without mbrola.dll the prompt was not spoken"
rm "$WINEPREFIX/drive_c/tarsis/aureatts/br4"
run_falamci "$exe"
"$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/recorded.wav" >/dev/null || fail "without the database the prompt was not spoken"

# A SAPI 5 voice that cannot speak (Wine 8 answers E_NOTIMPL to SetVoice; type
# 54 binds the same class and is run under Wine 10) and SAPI 4, which Wine
# lacks: the start fails and the recordings speak.
for type in 5 4; do
  sed -i "s/^TIPOSAPI=.*/TIPOSAPI=$type/" "$ini"
  run_falamci "$exe"
  "$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/recorded.wav" >/dev/null ||
    fail "with TIPOSAPI=$type the prompt was not spoken by the recordings"
done
echo "falamci with the synthetic voice: its prompt and answer as tradutor speak says them; without the engine or its database, and with SAPI 5 or SAPI 4 that cannot speak, the recordings"
