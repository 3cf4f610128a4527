#!/usr/bin/env bash
# sapi_voice_e2e.sh FALAMCI_EXE VOZSAPI_DLL VOICE_DIR TRADUTOR VOICETOOL
# falamci.exe under Wine 10 with [TRADUTOR] SAPI=S and [SERVFALA] TIPOSAPI=5
# and 54: its prompt and an MCI answer spoken through SpVoice by the
# Portuguese SAPI 5 voice, sample for sample what `tradutor speak` makes,
# for the voice numbers 0, 1 and 99.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
args=()
for a in "$@"; do args+=("$(realpath "$a")"); done
export RIG_CAPTURE=append
exec "$here/../rig/with-wine10.sh" sapi-voice-e2e "$here/sapi_voice_session.sh" "${args[@]}"
