#!/usr/bin/env bash
# Builds every preset and runs every test level: the native unit tests, the
# same under the sanitizers, the Windows tests under Wine 8 (the platform
# tests and the end-to-end runs), the SAPI 5 runs under Wine 10, then every
# fuzz target for a few seconds. The Windows levels run the 64-bit build on
# every machine and the 32-bit build where the machine runs 32-bit code
# (scripts/runs-32bit.sh); where it cannot, each 32-bit level says so in one
# line and its Wine tests count as skipped, never as passed.
#
# Ends with a table of the levels (passed, failed, skipped, time), the time
# of each build, and the plain line "N passed, N failed". Each level's full
# output is in build/test-logs.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
results=$logs/results   # one line a level: name|passed|failed|skipped|seconds|note
: >"$results"
status=0
builds=()

record() {  # record NAME PASSED FAILED SKIPPED SECONDS [NOTE]
  echo "$1|$2|$3|$4|$5|${6:-}" >>"$results"
  [ "$3" -eq 0 ] || status=1
}

# build PRESET: configures and builds it once; the outcome is remembered.
declare -A built
build() {
  if [ -z "${built[$1]:-}" ]; then
    local start=$SECONDS
    if cmake --preset "$1" >"$logs/build-$1.log" 2>&1 && cmake --build --preset "$1" >>"$logs/build-$1.log" 2>&1; then
      built[$1]=ok
    else
      built[$1]=failed
      echo "BUILD FAILED: $1 (build/test-logs/build-$1.log)" >&2
      tail -n 30 "$logs/build-$1.log" >&2
    fi
    builds+=("$1 $((SECONDS - start))s")
  fi
  [ "${built[$1]}" = ok ]
}

# ctest_counts LOG: "passed failed skipped" from a ctest run. A ctest entry
# that runs GoogleTest programs (the Windows tests: one Wine session for
# many cases) counts as the cases inside them; an entry that failed outside
# them (a shell check after the cases) counts one failure more. Prints
# nothing when the log has no ctest result lines.
ctest_counts() {
  awk '
    match($0, /^([0-9]+): \[==========\] [0-9]+ tests? from .* ran\./) {
      split($0, f, /[: ]+/); n = f[1]; t = $0; sub(/^[0-9]+: \[==========\] /, "", t); inner[n] += t + 0; next
    }
    match($0, /^([0-9]+): \[  SKIPPED \] [0-9]+ tests?, listed below:/) {
      split($0, f, /[: ]+/); n = f[1]; t = $0; sub(/^[0-9]+: \[  SKIPPED \] /, "", t); skip[n] += t + 0; next
    }
    match($0, /^([0-9]+):  ?[0-9]+ FAILED TESTS?$/) {
      split($0, f, /[: ]+/); fail[f[1]] += f[2]; next
    }
    match($0, /Test +#[0-9]+: /) {
      t = substr($0, RSTART); sub(/^Test +#/, "", t); n = t + 0
      if ($0 ~ /Passed/) result[n] = "passed"
      else if ($0 ~ /Skipped|Not Run/) result[n] = "skipped"
      else result[n] = "failed"
    }
    END {
      for (n in result) {
        seen = 1
        if (inner[n] > 0) {
          total += inner[n]; skipped += skip[n]; failed += fail[n]
          if (result[n] == "failed" && fail[n] == 0) { total++; failed++ }
        } else {
          total++
          if (result[n] == "skipped") skipped++
          else if (result[n] == "failed") failed++
        }
      }
      if (seen) print total - failed - skipped, failed, skipped
    }' "$1"
}

# run_level NAME BUILD_PRESET CTEST_ARGS...
run_level() {
  local name=$1 preset=$2
  shift 2
  local log=$logs/${name// /-}.log start=$SECONDS
  if ! build "$preset"; then
    record "$name" 0 1 0 0 "the $preset build failed"
    return
  fi
  ctest "$@" >"$log" 2>&1
  local rc=$? counts note=""
  counts=$(ctest_counts "$log")
  local passed failed skipped
  read -r passed failed skipped <<<"${counts:-0 0 0}"
  if ! grep -qE 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log"; then
    failed=$((failed + 1))
    note="no ctest count line: $(grep -m 1 -iE 'no tests were found|error' "$log" || tail -n 1 "$log")"
  elif [ $rc -ne 0 ] && [ "$failed" -eq 0 ]; then
    failed=1
    note="ctest ended with $rc"
  fi
  echo "== $name: ctest $* =="
  tail -n 25 "$log"
  record "$name" "$passed" "$failed" "$skipped" $((SECONDS - start)) "$note"
}

# skip_level NAME REASON CTEST_ARGS...: the tests the level would have
# run, counted as skipped.
skip_level() {
  local name=$1 reason=$2
  shift 2
  local n
  n=$(ctest -N "$@" 2>/dev/null | sed -nE 's/^Total Tests: ([0-9]+)/\1/p')
  echo "== $name: skipped: $reason =="
  record "$name" 0 0 "${n:-1}" 0 "skipped: $reason"
}

if no_32bit=$(scripts/runs-32bit.sh); then can_32bit=true; else can_32bit=false; fi

run_level native native --preset native
run_level sanitizers native-asan --preset native-asan

# Wine 8: the machine's own (64-bit, and 32-bit where apt could install it;
# otherwise the rig takes 32-bit Wine 8 from a Debian 12 root).
run_level "windows 64-bit" win64 --preset win64
if $can_32bit; then
  run_level "windows 32-bit" win32 --preset win32
else
  # The 32-bit product is still built, and what needs no Wine is checked.
  run_level "windows 32-bit (no Wine)" win32 --test-dir build/win32 -LE '^wine' --no-tests=error --output-on-failure
  skip_level "windows 32-bit" "$no_32bit" --test-dir build/win32 -L '^wine$' -LE '^wine10$'
fi

# Wine 10, from a Debian 13 root made once (outside the build folders) and
# reused: where SpVoice speaks. No root, no pass: the level fails in one line.
if root_error=$(scripts/wine-root.sh 10 2>&1 >/dev/null); then
  run_level "wine10 64-bit" win64 --preset wine10-64
  if $can_32bit; then
    run_level "wine10 32-bit" win32 --preset wine10
  else
    skip_level "wine10 32-bit" "$no_32bit" --test-dir build/win32 -L '^wine10$'
  fi
else
  root_error=${root_error:-the Debian 13 root with Wine 10 could not be made}
  echo "wine10: $root_error"
  record "wine10 64-bit" 0 1 0 0 "$root_error"
  if $can_32bit; then
    record "wine10 32-bit" 0 1 0 0 "$root_error"
  else
    record "wine10 32-bit" 0 0 1 0 "skipped: $no_32bit"
  fi
fi

# Every fuzz target for a short, fixed time; each is one test, failed by
# any finding or by not running at all.
start=$SECONDS
fuzz_out=$(scripts/fuzz.sh "${FUZZ_TEST_SECONDS:-10}" 2>&1)
fuzz_rc=$?
echo "== fuzz =="
echo "$fuzz_out"
fuzz_total=$(echo "$fuzz_out" | awk 'NR > 1 && NF == 3' | wc -l)
fuzz_passed=$(echo "$fuzz_out" | awk 'NR > 1 && NF == 3 && $2 ~ /^[0-9]+$/ && $2 > 0 && $3 == 0' | wc -l)
fuzz_failed=$((fuzz_total - fuzz_passed))
note=""
if [ "$fuzz_rc" -ne 0 ] && [ "$fuzz_failed" -eq 0 ]; then
  fuzz_failed=1
  note="fuzz.sh ended with $fuzz_rc: $(echo "$fuzz_out" | tail -n 1)"
fi
record fuzz "$fuzz_passed" "$fuzz_failed" 0 $((SECONDS - start)) "$note"

echo
echo "Levels:"
passed=0 failed=0 skipped=0
while IFS='|' read -r name p f s secs note; do
  printf '  %-26s %4d passed %3d failed %3d skipped %5ds  %s\n' "$name" "$p" "$f" "$s" "$secs" "$note"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
done <"$results"
echo "Builds: ${builds[*]}"
echo "Skipped: $skipped"
echo "$passed passed, $failed failed"
exit $status
