#!/usr/bin/env bash
# on-display.sh DIR COMMAND...: runs COMMAND on a private Xvfb display and
# stops the display after. Xvfb picks a free display number itself
# (-displayfd), so rigs started at the same time never take the same one;
# clients need the cookie in DIR/Xauthority, which COMMAND gets through
# XAUTHORITY. Exits with COMMAND's status.
set -euo pipefail
dir=$1
shift
auth=$dir/Xauthority
rm -f "$dir/display"
: >"$auth"  # xauth complains of a file it has to make
: >"$auth.one"
# The display number is not known before Xvfb starts: the cookie is
# written for every display (family "wild", no number).
xauth -q -f "$auth.one" add :0 . "$(mcookie)"
xauth -q -f "$auth.one" nlist |
  sed -E 's/^[0-9a-f]{4} [0-9a-f]{4} [0-9a-f]* [0-9a-f]{4} [0-9a-f]* /ffff 0000  0000  /' |
  xauth -q -f "$auth" nmerge -
rm -f "$auth.one"
# Wine may run as another user than the display (RIG_RUN_AS, with-wine.sh).
if [ -n "${RIG_RUN_AS:-}" ]; then chown "$RIG_RUN_AS" "$auth"; fi
Xvfb -displayfd 3 -auth "$auth" -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  grep -q '[0-9]' "$dir/display" 2>/dev/null && break
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.1
done
grep -q '[0-9]' "$dir/display" || { echo "rig: Xvfb did not start: $(tail -n 1 "$dir/xvfb.log")" >&2; exit 1; }
DISPLAY=:$(tr -dc 0-9 <"$dir/display")
export DISPLAY XAUTHORITY=$auth
status=0
"$@" || status=$?
exit $status
