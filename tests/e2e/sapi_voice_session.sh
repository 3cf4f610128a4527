#!/usr/bin/env bash
# The part of sapi_voice_e2e.sh that runs inside the Wine session.
set -euo pipefail
exe=$1 dll=$2 voice=$3 tradutor=$4 voicetool=$5
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../rig/wine-window.sh
. "$(dirname "$0")/../rig/wine-window.sh"
ini=$WINEPREFIX/drive_c/windows/ORALIS.INI

cp -r "$voice/drive_c/." "$WINEPREFIX/drive_c/"
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
# The SAPI 5 voice beside its data, as make run installs it.
cp "$dll" "$(dirname "$exe")/mbrola.dll" "$WINEPREFIX/drive_c/tarsis/aureatts/"
wine regsvr32 /s 'C:\tarsis\aureatts\vozsapi.dll' || fail "regsvr32 did not install the SAPI 5 voice"
sed -i 's/^SAPI=N/SAPI=S/' "$ini"

answer=$(wine "$(dirname "$exe")/../tests/win32/console_win32_tests.exe" --mci-error "status w" | tr -d '\r')
"$tradutor" speak --out "$RIG_DIR/prompt.wav" "Entre comando MCI"
"$tradutor" speak --out "$RIG_DIR/answer.wav" "$answer"

for setting in "5 1" "54 1" "5 0" "5 99"; do
  read -r type number <<<"$setting"
  sed -i -e "s/^TIPOSAPI=.*/TIPOSAPI=$type/" -e "s/^VOZ=.*/VOZ=$number/" "$ini"
  : >"$RIG_DIR/sound.raw"
  (cd "$WINEPREFIX/drive_c/tarsis" && exec wine "$exe") &
  program=$!
  find_window falamci
  sound_settles "$RIG_DIR/sound.raw" 0
  type_heard "$RIG_DIR/sound.raw" "status w"
  before=$(sound_size "$RIG_DIR/sound.raw")
  xdotool key Return
  sound_settles "$RIG_DIR/sound.raw" "$before"  # the answer and the prompt after it
  xdotool key Return
  for _ in $(seq 1 300); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  status=0
  wait "$program" || status=$?
  [ "$status" -eq 0 ] || fail "TIPOSAPI=$type VOZ=$number: falamci ended with $status, expected 0"
  "$voicetool" find "$RIG_DIR/sound.raw" "$RIG_DIR/prompt.wav" "$RIG_DIR/answer.wav" >"$RIG_DIR/found.txt" ||
    fail "TIPOSAPI=$type VOZ=$number: the SAPI 5 voice's sound was not what tradutor speak makes: $(cat "$RIG_DIR/found.txt")"
done
echo "falamci through SpVoice and the Portuguese SAPI 5 voice (types 5 and 54, voices 0, 1 and 99): prompt and answer as tradutor speak says them"
