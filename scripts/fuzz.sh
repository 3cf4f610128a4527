#!/usr/bin/env bash
# fuzz.sh [SECONDS]: runs every fuzz target for SECONDS (default 60) and
# prints, per target, the executions, the coverage reached (libFuzzer's
# edges and features) and what it found.
#
# What a run learns is kept: each target grows a working corpus outside the
# tree (FALAMCI_FUZZ_CORPUS, default the user's cache), seeded from
# tests/fuzz/corpus. With FUZZ_MERGE=1 the inputs that add coverage are then
# merged, minimised, into tests/fuzz/corpus, for a commit. FUZZ_FRESH=1
# starts each working corpus empty (make test, so that a run does not lean
# on an earlier one). FUZZ_JOBS targets run at once (default 1).
#
# An input that crashes is kept in build/fuzz/findings/TARGET/ with a
# minimised copy beside it; once its cause is mended it goes into
# tests/fuzz/regressions/TARGET/, which the native tests replay. A target
# that did not run (no program, or no executions counted) fails the run.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-60}}
jobs=${FUZZ_JOBS:-1}
corpus_root=${FALAMCI_FUZZ_CORPUS:-${XDG_CACHE_HOME:-$HOME/.cache}/falamci/fuzz-corpus}
cd "$top"
cmake --preset native >/dev/null && cmake --build --preset native --target voice >/dev/null || exit 1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || exit 1
results=build/fuzz/results
rm -rf "$results"
mkdir -p "$results"

# run_target NAME: one target; writes its line of the table to $results/NAME.
run_target() {
  local name=$1
  local exe=build/fuzz/tests/fuzz/${name}_fuzz seeds=tests/fuzz/corpus/$name
  local work=$corpus_root/$name findings=build/fuzz/findings/$name log=build/fuzz/logs/$name.log
  [ "${FUZZ_FRESH:-0}" = 1 ] && rm -rf "$work"
  rm -rf "$findings"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  # New inputs go into the first folder: the working corpus, never the seeds.
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 -rss_limit_mb=2048 -timeout=20 \
    -artifact_prefix="$findings/" "$work" "$seeds" >"$log" 2>&1
  local runs cov ft found
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n 1)
  [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
  cov=$(grep -oE ' cov: [0-9]+' "$log" | tail -n 1 | grep -oE '[0-9]+')
  ft=$(grep -oE ' ft: [0-9]+' "$log" | tail -n 1 | grep -oE '[0-9]+')
  for crash in "$findings"/*; do
    [ -f "$crash" ] || continue
    case $crash in *.min) continue ;; esac
    "$exe" -minimize_crash=1 -runs=20000 -exact_artifact_path="$crash.min" "$crash" >>"$log" 2>&1 || true
  done
  found=$(find "$findings" -type f ! -name '*.min' | wc -l)
  if [ "${FUZZ_MERGE:-0}" = 1 ] && [ "$found" -eq 0 ]; then
    "$exe" -merge=1 -max_len=4096 -rss_limit_mb=2048 -timeout=20 "$seeds" "$work" >>"$log" 2>&1 ||
      echo "fuzz: merging $name into $seeds failed (see $log)" >&2
  fi
  printf '%-16s %12s %8s %8s %9s\n' "$name" "${runs:-none}" "${cov:-none}" "${ft:-none}" "$found" >"$results/$name"
}

names=()
for seeds in tests/fuzz/corpus/*/; do names+=("$(basename "$seeds")"); done
for name in "${names[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  run_target "$name" &
done
wait

status=0
printf '%-16s %12s %8s %8s %9s\n' target executions edges features findings
for name in "${names[@]}"; do
  if [ -s "$results/$name" ]; then
    cat "$results/$name"
    read -r _ runs _ _ found <"$results/$name"
  else
    printf '%-16s %12s %8s %8s %9s\n' "$name" none none none 0
    runs=none found=0
  fi
  [ "$found" -eq 0 ] && [[ $runs =~ ^[0-9]+$ ]] && [ "$runs" -gt 0 ] || status=1
  for crash in build/fuzz/findings/"$name"/*.min; do
    [ -f "$crash" ] && echo "  $name: minimised crash $crash; once mended, copy it into tests/fuzz/regressions/$name/"
  done
done
exit $status
