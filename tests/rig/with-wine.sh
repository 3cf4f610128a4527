#!/usr/bin/env bash
# with-wine.sh NAME COMMAND...
# Runs COMMAND with a Wine prefix and a home of its own (made afresh under
# $RIG_ROOT/NAME, default build/rig) on a private Xvfb display
# (on-display.sh). The home's .asoundrc sends wave-out to
# $RIG_ROOT/NAME/sound.wav, so Wine has a sound device even on a machine
# without one; with RIG_CAPTURE=append every stream is appended, as raw
# samples, to sound.raw instead (a WAV file is begun anew each time the
# device opens). RIG_BITS (32, the default, or 64) picks the prefix's
# architecture and so Wine's loader (scripts/wine-commands). Started as
# root through sudo, Wine and the programs under test run as the user who
# asked (RIG_RUN_AS, UID:GID, default sudo's SUDO_UID and SUDO_GID), who owns
# the rig's folder; the session scripts and the display stay root. Exits
# with COMMAND's status.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
name=$1
bits=${RIG_BITS:-32}
case $bits in
  32 | 64) ;;
  *) echo "rig: RIG_BITS is $bits; it must be 32 or 64" >&2; exit 1 ;;
esac
# A machine that runs 32-bit code but whose apt could not install wine32
# (an i386 index that failed verification) runs the 32-bit build under the
# same Wine 8 from a Debian 12 root of its own.
if [ "$bits" = 32 ] && [ -z "${WINE_ROOT:-}" ] && [ ! -x /usr/lib/wine/wine ]; then
  echo "rig: 32-bit Wine is not installed here; Wine 8 from a Debian 12 root runs the 32-bit build"
  exec "$here/with-wine-root.sh" 8 "$@"
fi
shift
rig_root=${RIG_ROOT:-$(pwd)/build/rig}
dir=$rig_root/$name
rm -rf "$dir"
mkdir -p "$dir/home"
# No path is written into the capture line as code: the appending pipe
# reads it from the environment, inside double quotes, and a file name is an
# ALSA string with its quotes, backslashes and % signs escaped.
if [ "${RIG_CAPTURE:-}" = append ]; then
  export RIG_CAPTURE_FILE=$dir/sound.raw
  cat >"$dir/home/.asoundrc" <<'ASOUND'
pcm.!default { type file; slave.pcm "null"; file "|cat >> \"$RIG_CAPTURE_FILE\""; format "raw" }
ASOUND
else
  wav=$dir/sound.wav
  wav=${wav//\\/\\\\} wav=${wav//\"/\\\"} wav=${wav//%/%%}
  printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "wav" }\n' "$wav" >"$dir/home/.asoundrc"
fi
if [ "$(id -u)" = 0 ] && [ -z "${RIG_RUN_AS:-}" ] && [ "${SUDO_UID:-0}" != 0 ]; then
  RIG_RUN_AS=$SUDO_UID:${SUDO_GID:-$SUDO_UID}
fi
if [ -n "${RIG_RUN_AS:-}" ] && [ "$(id -u)" = 0 ]; then
  [[ $RIG_RUN_AS =~ ^[1-9][0-9]*:[0-9]+$ ]] || { echo "rig: RIG_RUN_AS is $RIG_RUN_AS; it must be UID:GID, not root" >&2; exit 1; }
  export RIG_RUN_AS
  # The capture is appended to by Wine's sound device, as that user.
  [ "${RIG_CAPTURE:-}" = append ] && : >"$dir/sound.raw"
  chown -R "$RIG_RUN_AS" "$dir"
else
  unset RIG_RUN_AS
fi
export HOME=$dir/home
export WINEPREFIX=$dir/prefix
export WINEARCH=win$bits
export PATH="$here/../../scripts/wine-commands:$PATH"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export RIG_DIR=$dir
exec "$here/on-display.sh" "$dir" "$here/wine-session.sh" "$@"
