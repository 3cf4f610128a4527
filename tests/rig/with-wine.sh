#!/usr/bin/env bash
# with-wine.sh NAME COMMAND...
# Runs COMMAND with a Wine prefix and a home of its own (made afresh under
# $RIG_ROOT/NAME, default build/rig) on a private Xvfb display. The home's
# .asoundrc sends wave-out to $RIG_ROOT/NAME/sound.wav, so Wine has a sound
# device even on a machine without one; with RIG_CAPTURE=append every stream
# is appended, as raw samples, to sound.raw instead (a WAV file is begun
# anew each time the device opens). Exits with COMMAND's status.
set -euo pipefail
name=$1
shift
rig_root=${RIG_ROOT:-$(pwd)/build/rig}
dir=$rig_root/$name
rm -rf "$dir"
mkdir -p "$dir/home"
if [ "${RIG_CAPTURE:-}" = append ]; then
  cat >"$dir/home/.asoundrc" <<ASOUND
pcm.!default { type file; slave.pcm "null"; file "|cat >> $dir/sound.raw"; format "raw" }
ASOUND
else
  cat >"$dir/home/.asoundrc" <<ASOUND
pcm.!default { type file; slave.pcm "null"; file "$dir/sound.wav"; format "wav" }
ASOUND
fi
export HOME=$dir/home
export WINEPREFIX=$dir/prefix
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export RIG_DIR=$dir
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$(dirname "$0")/wine-session.sh" "$@"
