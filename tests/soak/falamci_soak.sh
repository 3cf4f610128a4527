#!/usr/bin/env bash
# falamci_soak.sh FALAMCI_EXE WIN32_TESTS_EXE VOICE_DIR TRADUTOR VOICETOOL [CYCLES]
# A long session of falamci under Wine, driven by real X keys: CYCLES
# (default 30) rounds of ten commands each (open, play and close of short
# WAV files, status queries, a rejected command, commands of 151 and 152
# characters, a speed change), with the review mode, the Braille keyboard
# and the speed switched on and off between them. Every answer must be on
# the screen and in the captured sound; the program must end with 0; its
# memory and handles, sampled after every round, may not rise round after
# round (a least-squares slope, see the session) and must end within 5% of
# their level after the first 20 commands. Run by `make soak`; three rounds
# run in make test.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
args=()
for a in "${@:1:5}"; do args+=("$(realpath "$a")"); done
export RIG_CAPTURE=append
exec "$here/../rig/with-wine.sh" falamci-soak "$here/falamci_soak_session.sh" "${args[@]}" "${6:-30}"
