#!/usr/bin/env bash
# wine-session.sh COMMAND...: inside the X display and prefix that
# with-wine.sh set up, boots the prefix, runs COMMAND and stops Wine again.
# A boot that leaves no prefix (seen once in many runs, right after other
# Wine sessions ended) is tried once more, saying so; a second failure ends
# the session with wineboot's own last words.
set -u
boot() {
  wineboot -i >"$RIG_DIR/wineboot.log" 2>&1 || true
  wineserver -w || true
}
boot
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "rig: wineboot made no prefix ($(tail -n 2 "$RIG_DIR/wineboot.log" | tr '\n' ' ')); trying once more" >&2
  wineserver -k >/dev/null 2>&1 || true
  sleep 2
  boot
  if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "rig: wineboot made no prefix: $(tail -n 5 "$RIG_DIR/wineboot.log")" >&2
    exit 1
  fi
fi
status=0
"$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
