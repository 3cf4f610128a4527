# Sourced by the end-to-end sessions: find_window TITLE waits (up to 90 s:
# the first program in a fresh prefix waits for Wine to make it, which on a
# busy machine has taken more than 30 s) for a window whose title holds
# TITLE, gives it the focus and sets $window.
find_window() {
  window=""
  local deadline=$((SECONDS + 90))
  while [ "$SECONDS" -lt "$deadline" ]; do
    window=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "FAIL: the window '$1' did not appear" >&2; exit 1; }
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
}

# wine_writes FILE: an empty FILE that the Windows program can write, also
# when Wine runs as another user than this script (RIG_RUN_AS).
wine_writes() {
  : >"$1"
  if [ -n "${RIG_RUN_AS:-}" ]; then chown "$RIG_RUN_AS" "$1"; fi
}
