#!/usr/bin/env bash
# synthetic_voice_e2e.sh FALAMCI_EXE VOICE_DIR TRADUTOR VOICETOOL
# falamci.exe under Wine with [TRADUTOR] SAPI=S and [SERVFALA] TIPOSAPI=3:
# the prompt and an MCI answer spoken through mbrola.dll, sample for sample
# what `tradutor speak` makes natively; then without mbrola.dll, and without
# the database, falamci speaks with its recordings and does not hang.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
args=()
for a in "$@"; do args+=("$(realpath "$a")"); done
export RIG_CAPTURE=append
exec "$here/../rig/with-wine.sh" synthetic-voice-e2e "$here/synthetic_voice_session.sh" "${args[@]}"
