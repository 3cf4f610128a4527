#!/usr/bin/env bash
# Installs the default voice in a Wine prefix of its own and starts falamci
# in it, on the current X display or, when there is none, on a virtual one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=$top/build/win32/console/falamci.exe
voice=$top/build/native/voice

export WINEPREFIX=${FALAMCI_WINEPREFIX:-$HOME/.local/share/falamci/wine}
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -d "$WINEPREFIX" ]; then
  echo "Making the Wine prefix $WINEPREFIX (once, some seconds)..."
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
# The voice goes where ORALIS.INI points: C:\windows\ORALIS.INI and C:\tarsis\som.
cp -r "$voice/drive_c/." "$WINEPREFIX/drive_c/"
# The synthetic voice's database is found through the key MBROLA's
# installations write; mbrola.dll lies beside falamci.exe.
wine reg add 'HKLM\SOFTWARE\TCTS\Mbrola\databases\br4' /ve /d 'C:\tarsis\aureatts\br4' /f >/dev/null 2>&1 || true
# The Portuguese voice offered to every Windows program as a SAPI 5 voice,
# beside its data; regsvr32 writes its class and voice token.
sapi_voice=$top/build/win32/sapivoice/vozsapi.dll
if [ -f "$sapi_voice" ]; then
  cp "$sapi_voice" "$top/build/win32/psola/mbrola.dll" "$WINEPREFIX/drive_c/tarsis/aureatts/"
  wine regsvr32 /s 'C:\tarsis\aureatts\vozsapi.dll' >/dev/null 2>&1 || echo "regsvr32 could not install the SAPI 5 voice."
fi
# FALAMCI_VOICE=synthetic: all speech through the synthetic voice (SAPI=S, engine type 3).
ini=$WINEPREFIX/drive_c/windows/ORALIS.INI
bits="-e unsigned-integer -b 8" rate=11025
if [ "${FALAMCI_VOICE:-}" = synthetic ]; then
  sed -i 's/^SAPI=N/SAPI=S/' "$ini"
  bits="-e signed-integer -b 16" rate=16000
  echo "falamci speaks with the synthetic voice."
fi
# Wine has no Courier New, the console's font: a fixed-pitch font it has stands in.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1 || true

cleanups=()
cleanup() { for c in "${cleanups[@]}"; do eval "$c"; done; }
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -n "${FALAMCI_RECORD:-}" ]; then
  # Everything falamci says goes to this WAV file instead of a sound card.
  record=$(realpath -m "$FALAMCI_RECORD")
  export HOME=$(mktemp -d)
  printf 'pcm.!default { type file; slave.pcm "null"; file "|cat >> %s.raw"; format "raw" }\n' "$record" >"$HOME/.asoundrc"
  cleanups+=('sox -q -t raw -r $rate $bits -c 1 "$record.raw" "$record" && rm -f "$record.raw" && echo "What falamci said is in $record"')
  : >"$record.raw"
elif ! grep -q '[0-9]' /proc/asound/cards 2>/dev/null; then
  echo "This machine has no sound device, so falamci cannot be heard here."
  echo "To record what it says to a WAV file instead: FALAMCI_RECORD=falamci.wav make run"
fi

if [ -z "${DISPLAY:-}" ]; then
  display=:${FALAMCI_DISPLAY:-77}
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  cleanups+=('kill $xvfb 2>/dev/null || true')
  export DISPLAY=$display
  sleep 1
  setxkbmap -option srvrkeys:none 2>/dev/null || true
  echo "There is no X display here: falamci runs on the virtual display $display."
  echo "Look at it with: import -display $display -window root shot.png (a screenshot),"
  echo "or x11vnc -display $display and a VNC viewer; type at it with DISPLAY=$display xdotool type ..."
else
  echo "On a Linux desktop Ctrl+Alt+F9 (the screen review) may switch consoles;"
  echo "'setxkbmap -option srvrkeys:none' gives the key to falamci."
fi
echo "Starting falamci: it says \"Entre comando MCI\"; an empty line ends it."
cd "$WINEPREFIX/drive_c/tarsis"
wine "$program"
