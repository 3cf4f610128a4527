#!/usr/bin/env bash
# falamci_e2e.sh FALAMCI_EXE WIN32_TESTS_EXE VOICE_DIR TRADUTOR VOICETOOL BUILD_DIR
# falamci.exe under Wine on its own display and prefix, with the default
# voice installed where ORALIS.INI points: MCI commands typed with xdotool,
# the screen read back through the review mode's copy, Wine's own error
# text, the end by Enter and by Esc, and the sound it played.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
args=()
for a in "$@"; do args+=("$(realpath "$a")"); done
export RIG_CAPTURE=append
exec "$here/../rig/with-wine.sh" falamci-e2e "$here/falamci_session.sh" "${args[@]}"
