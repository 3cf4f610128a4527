#!/usr/bin/env bash
# The part of keyecho_e2e.sh that runs inside the Wine session.
set -euo pipefail
exe=$1
build=$2
log=$RIG_DIR/keys.log
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../rig/wine-window.sh
. "$(dirname "$0")/../rig/wine-window.sh"
wine_writes "$log"

# Keys of their own for the accented letters, before Wine reads the keymap.
# Left to xdotool, each would be bound to a spare keycode only while it is
# sent and unbound right after: a loaded machine's Wine then looks the key
# up after the unbinding and drops it.
mapfile -t spare < <(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2 }' | head -n 2)
[ "${#spare[@]}" -eq 2 ] || fail "no two spare keycodes in the keymap"
xmodmap -e "keycode ${spare[0]} = aacute Aacute" -e "keycode ${spare[1]} = ccedilla Ccedilla"

wine "$exe" "$(winepath -w "$log")" &
program=$!

find_window keyecho
sleep 1

type_keys() { xdotool key --delay 60 "$@"; }
type_keys a b c Up ctrl+Left shift+Insert ctrl+Insert ctrl+Return ctrl+BackSpace aacute ccedilla F1 ctrl+alt+a
expected="97 98 99 0 72 0 115 0 254 0 255 10 127 225 231 0 59 0 30"

got=""
for _ in $(seq 1 100); do
  got=$(tr -d '\r' <"$log" | tr '\n' ' ' | sed 's/ $//')
  [ "$got" = "$expected" ] && break
  sleep 0.1
done
[ "$got" = "$expected" ] || fail "keys logged: '$got', expected '$expected'"

import -window "$window" "$build/keyecho.png" 2>/dev/null || import -window root "$build/keyecho.png"

type_keys alt+F4
status=0
for _ in $(seq 1 100); do
  if ! kill -0 "$program" 2>/dev/null; then break; fi
  sleep 0.1
done
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "keyecho ended with $status after Alt+F4, expected 0"
echo "keyecho end to end: keys, screenshot and Alt+F4 all as expected"
