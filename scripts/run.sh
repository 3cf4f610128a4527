#!/usr/bin/env bash
# Starts the program under Wine, in a prefix of its own, on the current X
# display or, when there is none, on a virtual one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=$top/build/win32/console/keyecho.exe

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

# Wine has no Lucida Console: point the console at a fixed-pitch font it has,
# unless the prefix already holds settings of its own.
ini=$WINEPREFIX/drive_c/windows/ORALIS.INI
if [ ! -f "$ini" ]; then
  printf '[VIDEO]\r\nFONTE=DejaVu Sans Mono\r\n' >"$ini"
fi

if [ -z "${DISPLAY:-}" ]; then
  display=:${FALAMCI_DISPLAY:-77}
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=$display
  sleep 1
  echo "There is no X display here: the program runs on the virtual display $display."
  echo "Look at it with: import -display $display -window root shot.png (a screenshot),"
  echo "or x11vnc -display $display and a VNC viewer; type at it with DISPLAY=$display xdotool type ..."
fi
echo "Starting $(basename "$program"); Esc twice or closing the window ends it."
exec wine "$program"
