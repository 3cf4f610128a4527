#!/usr/bin/env bash
# The part of msi_install_test.sh that runs inside the Wine session.
set -euo pipefail
arch=$1 work=$2 package=$3 old=$4 tests=$5 voicetool=$6 tests32=${7:-}
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../rig/wine-window.sh
. "$(dirname "$0")/../rig/wine-window.sh"
windows() { winepath -w "$1" 2>/dev/null; }
msiexec() {  # msiexec ARGS...: Windows Installer, silent; fails the test on a non-zero exit
  local status=0
  wine msiexec "$@" /qn || status=$?
  [ "$status" -eq 0 ] || fail "msiexec $1 $(basename "$2") ended with $status"
}
program="$WINEPREFIX/drive_c/Program Files/falamci"
token='HKLM\SOFTWARE\Microsoft\Speech\Voices\Tokens\FalamciPortugues'
class='HKCR\CLSID\{6B3C1A52-8E0F-4C9D-9A47-2F51D7C0E8A4}'
engine_key='HKLM\SOFTWARE\TCTS\Mbrola\databases\br4'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entries() { wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName *REG_SZ *falamci$' || true; }

# An older version, then this one over it: one entry, this version.
msiexec /i "$(windows "$old")"
msiexec /i "$(windows "$package")"
[ "$(entries)" = 1 ] || fail "after the upgrade Programs and Features lists falamci $(entries) times"
wine reg query "$uninstall" /s | tr -d '\r' | grep -q "DisplayVersion *REG_SZ *$(basename "$package" | cut -d- -f2)$" ||
  fail "Programs and Features does not show the new version"
msiexec /i "$(windows "$package")"  # installed twice: nothing changes
[ "$(entries)" = 1 ] || fail "installed twice, falamci is listed $(entries) times"

# Every file of the package, and only those, as the package holds them
# (msiextract names the folder of 32-bit programs and not the 64-bit one's).
extracted=$(find "$work/extracted" -type d -name falamci -print -quit)
(cd "$extracted" && find . -type f | LC_ALL=C sort) >"$work/packaged.txt"
(cd "$program" && find . -type f | LC_ALL=C sort) >"$work/installed.txt"
diff "$work/packaged.txt" "$work/installed.txt" >/dev/null ||
  fail "the program folder differs from the package: $(diff "$work/packaged.txt" "$work/installed.txt" | head -5)"
while read -r f; do cmp -s "$extracted/$f" "$program/$f" || fail "$f differs"; done <"$work/packaged.txt"

# falamci from its Start-menu shortcut, typed at: the prompt, the answer to
# a status command, the prompt again; Enter on an empty line ends it.
# (Run once, in the run without the 32-bit client.)
if [ -z "$tests32" ]; then
  shortcut=$(find "$WINEPREFIX/drive_c" -name falamci.lnk -path '*Start Menu*' | head -n 1)
  [ -n "$shortcut" ] || fail "no Start-menu shortcut"
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
  : >"$RIG_DIR/sound.raw"
  wine start /wait "$(windows "$shortcut")" &
  started=$!
  find_window falamci
  sound_settles "$RIG_DIR/sound.raw" 0
  for line in "open new type waveaudio alias w" "status w mode"; do
    xdotool type --delay 60 "$line"
    before=$(sound_size "$RIG_DIR/sound.raw")
    xdotool key Return
    sound_settles "$RIG_DIR/sound.raw" "$before"
  done
  xdotool key Return
  for _ in $(seq 1 150); do kill -0 "$started" 2>/dev/null || break; sleep 0.1; done
  wait "$started" || fail "falamci from its shortcut did not end with 0"
  # falamci may outlive start /wait by a moment, and Windows Installer
  # leaves a file still in use for the next reboot: Wine ends first.
  wineserver -w
  "$voicetool" find "$RIG_DIR/sound.raw" "$work/prompt.wav" "$work/retorno.wav" "$work/retorno.wav" "$work/prompt.wav" \
    >"$work/found.txt" || fail "falamci from its shortcut did not say what was expected: $(grep missing "$work/found.txt" | head -3)"
fi

# A SAPI 5 client of the package's bitness lists the voice and hears it.
export SAPI_VOICE_REFERENCE SAPI_VOICE_TEXT
SAPI_VOICE_REFERENCE=$(windows "$work/reference.wav") SAPI_VOICE_TEXT=$(windows "$work/text.txt")
wine "$tests" "--gtest_filter=*RegisteredIt*:*ItSays*" >"$work/sapi.txt" 2>&1 ||
  fail "the installed voice: $(grep -E 'FAILED|Failure' "$work/sapi.txt" | head -5)"
if [ -n "$tests32" ]; then
  wine "$tests32" "--gtest_filter=*RegisteredIt*:*ItSays*" >"$work/sapi32.txt" 2>&1 ||
    fail "the installed 32-bit voice: $(grep -E 'FAILED|Failure' "$work/sapi32.txt" | head -5)"
fi
if [ "$arch" = x64 ]; then
  wine reg query "$token" /v VoiceData /reg:32 | tr -d '\r' | grep -q 'aureatts\\x86\\$' ||
    fail "the 32-bit view has no voice beside the 32-bit DLL"
fi

# The values Windows Installer wrote are those DllRegisterServer writes:
# each voice unregistered, registered again by the regsvr32 of its bitness.
# A Wine that runs no 32-bit programs cannot do it for the 32-bit voice.
runs32=yes
if [ "$arch" = x64 ] && ! wine 'C:\windows\syswow64\hostname.exe' >/dev/null 2>&1; then
  runs32=no
  echo "skipped: the 32-bit voice's values against its DllRegisterServer's (this Wine runs no 32-bit programs)"
fi
# dump VIEW: the voice's token and class keys as reg prints them.
dump() { for key in "$token" "$class"; do wine reg query "$key" /s "/reg:$1" 2>&1 | tr -d '\r'; done; }
for view in 64 32; do
  [ "$view" = 32 ] && [ "$runs32" = no ] && continue
  [ "$arch" = x86 ] && [ "$view" = 64 ] && continue
  dll="$program/aureatts/vozsapi.dll" regsvr32=regsvr32
  if [ "$arch" = x64 ] && [ "$view" = 32 ]; then
    dll="$program/aureatts/x86/vozsapi.dll" regsvr32='C:\windows\syswow64\regsvr32.exe'
  fi
  dump "$view" >"$work/msi-$view.txt"
  wine "$regsvr32" /s /u "$(windows "$dll")" || fail "regsvr32 /u ($view-bit) failed"
  wine reg query "$token" "/reg:$view" >/dev/null 2>&1 && fail "unregistered, the $view-bit token is still there"
  wine "$regsvr32" /s "$(windows "$dll")" || fail "regsvr32 ($view-bit) failed"
  dump "$view" >"$work/regsvr32-$view.txt"
  diff "$work/msi-$view.txt" "$work/regsvr32-$view.txt" >/dev/null ||
    fail "the package's $view-bit voice values differ from DllRegisterServer's: $(diff "$work/msi-$view.txt" "$work/regsvr32-$view.txt" | head -6)"
done

# Removed, even with a file deleted by hand: nothing of it is left.
rm "$program/som/letras/_65.wav"
msiexec /x "$(windows "$package")"
[ ! -e "$program" ] || fail "the program folder is still there: $(find "$program" | head -5)"
[ -z "$(find "$WINEPREFIX/drive_c" -name falamci.lnk)" ] || fail "a shortcut is left"
for view in 64 32; do
  for key in "$token" "$class" "$engine_key"; do
    wine reg query "$key" "/reg:$view" >/dev/null 2>&1 && fail "$key is left in the $view-bit view"
  done
done
[ "$(entries)" = 0 ] || fail "Programs and Features still lists falamci"
started_from=", falamci from its shortcut answered"
[ -n "$tests32" ] && started_from=", a 32-bit client heard the 32-bit voice"
echo "$arch package: upgraded over 0.9.0, installed twice, every file in place$started_from, the voice listed and heard, its values those of DllRegisterServer, removed without a trace"
