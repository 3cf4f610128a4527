#!/usr/bin/env bash
# wine-session.sh COMMAND...: inside the X display and prefix that
# with-wine.sh set up, boots the prefix, runs COMMAND and stops Wine again.
# A boot that leaves no prefix (seen once in many runs, right after other
# Wine sessions ended) is tried once more, saying so; a second failure ends
# the session with wineboot's own last words. A session that passed leaves
# its folder without the prefix (about 700 MB for 64 bits, and every test
# has its own) unless RIG_KEEP_PREFIX=1; a failed one keeps it to look into.
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
wineserver -w >/dev/null 2>&1 || true
if [ "$status" -eq 0 ] && [ "${RIG_KEEP_PREFIX:-0}" != 1 ]; then
  rm -rf "$WINEPREFIX"
fi
exit $status
