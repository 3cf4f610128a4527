#!/usr/bin/env bash
# Builds falamci and the default voice, installs the voice in a Wine prefix
# of its own and starts falamci in it, on the current X display or, when
# there is none, on a virtual one. Both Windows builds exist: the 32-bit
# program (the product for 32-bit Windows) runs where this machine runs
# 32-bit code and has 32-bit Wine, the 64-bit one otherwise;
# FALAMCI_BITS=32 or 64 chooses.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

bits=${FALAMCI_BITS:-}
why=""
if [ -z "$bits" ]; then
  if ! why=$("$top/scripts/runs-32bit.sh"); then
    bits=64
  elif [ ! -x /usr/lib/wine/wine ]; then
    bits=64 why="32-bit Wine is not installed here"
  else
    bits=32 why=""
  fi
fi
case $bits in
  32 | 64) ;;
  *) echo "FALAMCI_BITS is $bits; it must be 32 or 64" >&2; exit 1 ;;
esac
build=$top/build/win$bits
cmake --preset native >/dev/null && cmake --build --preset native --target voice
cmake --preset "win$bits" >/dev/null && cmake --build --preset "win$bits" --target falamci vozsapi
program=$build/console/falamci.exe
voice=$top/build/native/voice

# A prefix per architecture: a 32-bit prefix cannot hold the 64-bit program.
if [ "$bits" = 32 ]; then prefix=$HOME/.local/share/falamci/wine; else prefix=$HOME/.local/share/falamci/wine64; fi
export WINEPREFIX=${FALAMCI_WINEPREFIX:-$prefix}
export WINEARCH=win$bits
export PATH="$top/scripts/wine-commands:$PATH"
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
sapi_voice=$build/sapivoice/vozsapi.dll
if [ -f "$sapi_voice" ]; then
  cp "$sapi_voice" "$build/psola/mbrola.dll" "$WINEPREFIX/drive_c/tarsis/aureatts/"
  wine regsvr32 /s 'C:\tarsis\aureatts\vozsapi.dll' >/dev/null 2>&1 || echo "regsvr32 could not install the SAPI 5 voice."
fi
# In a 64-bit prefix that runs 32-bit programs, the 32-bit voice too, for
# them: in a folder of its own (the DLLs share their names) with the data
# linked in, registered by the 32-bit regsvr32 into the 32-bit view.
if [ "$bits" = 64 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && "$top/scripts/runs-32bit.sh" >/dev/null; then
  cmake --preset win32 >/dev/null && cmake --build --preset win32 --target vozsapi mbrola
  x86=$WINEPREFIX/drive_c/tarsis/aureatts/x86
  mkdir -p "$x86"
  cp "$top/build/win32/sapivoice/vozsapi.dll" "$top/build/win32/psola/mbrola.dll" "$x86/"
  for f in "$WINEPREFIX"/drive_c/tarsis/aureatts/br4 "$WINEPREFIX"/drive_c/tarsis/aureatts/portug.*; do ln -sf "$f" "$x86/"; done
  wine 'C:\windows\syswow64\regsvr32.exe' /s 'C:\tarsis\aureatts\x86\vozsapi.dll' >/dev/null 2>&1 ||
    echo "the 32-bit regsvr32 could not install the 32-bit SAPI 5 voice."
fi
# FALAMCI_VOICE=synthetic: all speech through the synthetic voice (SAPI=S, engine type 3).
ini=$WINEPREFIX/drive_c/windows/ORALIS.INI
sample_format="-e unsigned-integer -b 8" rate=11025
if [ "${FALAMCI_VOICE:-}" = synthetic ]; then
  sed -i 's/^SAPI=N/SAPI=S/' "$ini"
  sample_format="-e signed-integer -b 16" rate=16000
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
  # The path reaches the pipe through the environment, never as code.
  export FALAMCI_RECORD_RAW=$record.raw
  cat >"$HOME/.asoundrc" <<'ASOUND'
pcm.!default { type file; slave.pcm "null"; file "|cat >> \"$FALAMCI_RECORD_RAW\""; format "raw" }
ASOUND
  cleanups+=('sox -q -t raw -r $rate $sample_format -c 1 "$record.raw" "$record" && rm -f "$record.raw" && echo "What falamci said is in $record"')
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
if [ "$bits" = 64 ]; then
  echo "Starting the 64-bit falamci${why:+ ($why)}; FALAMCI_BITS=32 starts the 32-bit one."
else
  echo "Starting the 32-bit falamci; FALAMCI_BITS=64 starts the 64-bit one."
fi
echo "It says \"Entre comando MCI\"; an empty line ends it."
cd "$WINEPREFIX/drive_c/tarsis"
wine "$program"
