#!/usr/bin/env bash
# portable_zip_test.sh NATIVE_BUILD WIN32_BUILD: the portable zip from
# scripts/dist.sh, unzipped into a folder whose name has a space and an
# accent, started there with nothing in the registry or the Windows folder:
# it must say its prompt and end on Enter with 0.
set -euo pipefail
native=$(realpath "$1") win32=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
name=portable-zip
work=${RIG_ROOT:-$(pwd)/build/rig}/$name-dist
rm -rf "$work"
mkdir -p "$work"
DIST_NATIVE=$native DIST_WIN32=$win32 DIST_WIN64=$win32 DIST_ONLY=zip "$here/../../scripts/dist.sh" "$work" >/dev/null
ini=$native/voice/drive_c/windows/ORALIS.INI
"$native/tradutor" say --ini "$ini" --drive-c "$native/voice/drive_c" --out "$work/prompt.wav" "Entre comando MCI"
export RIG_BITS=32 RIG_CAPTURE=append
exec "$here/../rig/with-wine.sh" "$name" bash -c '
  set -euo pipefail
  . "$1/../rig/wine-window.sh"
  folder="$WINEPREFIX/drive_c/Programas Acessíveis"
  mkdir -p "$folder"
  unzip -q "$2"/falamci-*-portable.zip -d "$folder"
  [ ! -e "$WINEPREFIX/drive_c/windows/ORALIS.INI" ] || { echo "FAIL: the prefix has an ORALIS.INI of its own" >&2; exit 1; }
  cd "$folder"/falamci-*
  wine falamci.exe &
  program=$!
  find_window falamci
  sound_settles "$RIG_DIR/sound.raw" 0
  xdotool key Return
  for _ in $(seq 1 150); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  wait "$program" || { echo "FAIL: falamci from the unzipped folder did not end with 0" >&2; exit 1; }
  "$3" find "$RIG_DIR/sound.raw" "$2/prompt.wav" >/dev/null || { echo "FAIL: falamci from the unzipped folder did not say its prompt" >&2; exit 1; }
  echo "portable zip: unzipped into \"Programas Acessíveis\", falamci said its prompt and ended on Enter"
' _ "$here" "$work" "$native/tools/voicetool"
