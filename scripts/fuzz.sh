#!/usr/bin/env bash
# fuzz.sh [SECONDS]: runs every fuzz target for SECONDS (default 60) from its
# seed corpus in tests/fuzz/corpus and prints, per target, the executions
# and what it found. An input that crashes is kept in
# build/fuzz/findings/TARGET/; once its cause is mended it goes into
# tests/fuzz/regressions/TARGET/, which the native tests replay. A target
# that did not run (no program, or no executions counted) fails the run.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-60}}
cd "$top"
cmake --preset native >/dev/null && cmake --build --preset native --target voice >/dev/null || exit 1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || exit 1
status=0
printf '%-16s %12s %9s\n' target executions findings
# One seed folder per target: the list of targets.
for seeds in tests/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  exe=build/fuzz/tests/fuzz/${name}_fuzz
  work=build/fuzz/run/$name findings=build/fuzz/findings/$name
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  cp tests/fuzz/corpus/"$name"/* "$work/" 2>/dev/null || true
  log=build/fuzz/run/$name.log
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 -rss_limit_mb=2048 -timeout=20 \
    -artifact_prefix="$findings/" "$work" >"$log" 2>&1
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n 1)
  [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
  found=$(find "$findings" -type f | wc -l)
  printf '%-16s %12s %9s\n' "$name" "${runs:-none}" "$found"
  [ "$found" -eq 0 ] && [ "${runs:-0}" -gt 0 ] || status=1
done
exit $status
