#!/usr/bin/env bash
# wine-session.sh COMMAND...: inside the X display and prefix that
# with-wine.sh set up, boots the prefix, runs COMMAND and stops Wine again.
set -u
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
status=0
"$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
