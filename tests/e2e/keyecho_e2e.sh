#!/usr/bin/env bash
# keyecho_e2e.sh KEYECHO_EXE BUILD_DIR
# Starts keyecho.exe under Wine on its own Xvfb display and prefix, types at
# it with xdotool (real X key events), checks the codes it logged, saves a
# screenshot as BUILD_DIR/keyecho.png and closes it with Alt+F4 (exit code 0).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "$1")
build=$(realpath "$2")
exec "$here/../rig/with-wine.sh" keyecho-e2e "$here/keyecho_session.sh" "$exe" "$build"
