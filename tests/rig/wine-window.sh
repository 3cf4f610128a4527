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

# sound_size FILE: its size in bytes, 0 before Wine's sound device made it.
sound_size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# sound_settles FILE SIZE: waits until the captured sound FILE has grown
# past SIZE bytes (up to 10 s: a busy machine may begin late), then until it
# has not grown for 0.75 s (up to 60 s), so that the next key cuts nothing.
# Waiting on the sound instead of the clock keeps a loaded machine from
# cutting a recording a test then looks for.
sound_settles() {
  local file=$1 before=$2 size last=-1 still=0
  for _ in $(seq 1 200); do
    [ "$(sound_size "$file")" -gt "$before" ] && break
    sleep 0.05
  done
  for _ in $(seq 1 1200); do
    size=$(sound_size "$file")
    if [ "$size" = "$last" ]; then
      still=$((still + 1))
      [ "$still" -ge 15 ] && return 0
    else
      still=0 last=$size
    fi
    sleep 0.05
  done
}

# type_heard FILE TEXT: types TEXT one key at a time, each once the sound of
# the one before has ended.
type_heard() {
  local file=$1 text=$2 i before
  for ((i = 0; i < ${#text}; i++)); do
    before=$(sound_size "$file")
    xdotool type "${text:i:1}"
    sound_settles "$file" "$before"
  done
}
