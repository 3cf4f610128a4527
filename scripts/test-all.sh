#!/usr/bin/env bash
# Builds every preset and runs every test level: the native unit tests, the
# same under the sanitizers, the Windows tests under Wine 8 (the platform
# tests and the end-to-end runs), the SAPI 5 runs under Wine 10, three
# rounds of the long session, then every fuzz target for a few seconds. The
# Windows levels run the 64-bit build on every machine and the 32-bit build
# where the machine runs 32-bit code
# (scripts/runs-32bit.sh); where it cannot, each 32-bit level says so in one
# line and its Wine tests count as skipped, never as passed.
#
# Ends with a table of the levels (passed, failed, skipped, seconds), the
# time of each build, and the plain line "N passed, N failed". Each level's
# whole output is in build/test-logs.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs/results"
builds=()

# Each level has a slot, in the order the table lists them; a level run in
# the background still writes its line to its own slot.
slot=0
record() {  # record NAME PASSED FAILED SKIPPED SECONDS [NOTE]
  echo "$1|$2|$3|$4|$5|${6:-}" >"$logs/results/$(printf %02d "$slot")"
}

# build PRESET: configures and builds it once; the outcome is remembered.
declare -A built
build() {
  if [ -z "${built[$1]:-}" ]; then
    local start=$SECONDS
    echo "-- building $1"
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
    /^[0-9]+: \[==========\] [0-9]+ tests? from .* ran\./ {
      split($0, f, /[: ]+/); t = $0; sub(/^[0-9]+: \[==========\] /, "", t); inner[f[1]] += t + 0; next
    }
    /^[0-9]+: \[  SKIPPED \] [0-9]+ tests?, listed below:/ {
      split($0, f, /[: ]+/); t = $0; sub(/^[0-9]+: \[  SKIPPED \] /, "", t); skip[f[1]] += t + 0; next
    }
    /^[0-9]+:  ?[0-9]+ FAILED TESTS?$/ {
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
      if (seen) print total - failed - skipped, failed + 0, skipped + 0
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
  echo "-- running $name"
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

# level FUNCTION ARGS...: runs a level in the next slot. background LEVEL...
# does the same in the background, its output kept until finish_background
# prints it; at most four at a time.
level() {
  slot=$((slot + 1))
  "$@"
}
waiting=()
background() {
  while [ "$(jobs -rp | wc -l)" -ge 4 ]; do wait -n; done
  slot=$((slot + 1))
  "$@" >"$logs/output-$slot" 2>&1 &
  waiting+=("$slot")
}
finish_background() {
  wait
  local s
  for s in "${waiting[@]}"; do cat "$logs/output-$s"; done
  waiting=()
}

if no_32bit=$(scripts/runs-32bit.sh); then can_32bit=true; else can_32bit=false; fi

level run_level native native --preset native
level run_level sanitizers native-asan --preset native-asan

# The Wine levels wait on Wine, the X server and the sound far more than
# they compute (four at once leave most of two cores idle): they run
# together, once both Windows builds are made (in the foreground: a build
# uses both cores) and the Wine roots are there. Nothing that computes runs
# beside them: the end-to-end runs type at falamci and listen with fixed
# pauses.
build win64
build win32
wine8_root_error=""
if $can_32bit && [ ! -x /usr/lib/wine/wine ]; then
  # No 32-bit Wine from the machine's apt: the rig takes Wine 8 from a
  # Debian 12 root, made here once rather than inside the first test.
  wine8_root_error=$(scripts/wine-root.sh 8 2>&1 >/dev/null) || wine8_root_error=${wine8_root_error:-the Debian 12 root with Wine 8 could not be made}
fi
wine10_root_error=$(scripts/wine-root.sh 10 2>&1 >/dev/null) || wine10_root_error=${wine10_root_error:-the Debian 13 root with Wine 10 could not be made}

windows_32bit() {
  if ! $can_32bit; then
    # The 32-bit product is still built, and what needs no Wine is checked.
    run_level "windows 32-bit (no Wine)" win32 --test-dir build/win32 -LE '^wine' --no-tests=error --output-on-failure
    slot=$((slot + 1))
    skip_level "windows 32-bit" "$no_32bit" --test-dir build/win32 -L '^wine$' -LE '^wine10$'
  elif [ -n "$wine8_root_error" ]; then
    echo "windows 32-bit: $wine8_root_error"
    record "windows 32-bit" 0 1 0 0 "$wine8_root_error"
  else
    run_level "windows 32-bit" win32 --preset win32
  fi
}
# Wine 10, where SpVoice speaks: no root, no pass; the level fails in one line.
wine10() {  # wine10 BITS TEST_PRESET BUILD_PRESET
  if [ "$1" = 32 ] && ! $can_32bit; then
    skip_level "wine10 32-bit" "$no_32bit" --test-dir build/win32 -L '^wine10$'
  elif [ -n "$wine10_root_error" ]; then
    echo "wine10 $1-bit: $wine10_root_error"
    record "wine10 $1-bit" 0 1 0 0 "$wine10_root_error"
  else
    run_level "wine10 $1-bit" "$3" --preset "$2"
  fi
}
background run_level "windows 64-bit" win64 --preset win64 -E '^soak[.]'
background windows_32bit
# Without 32-bit code that level takes two slots: the build read without
# Wine, and the Wine tests skipped.
$can_32bit || slot=$((slot + 1))
background wine10 64 wine10-64 win64
background wine10 32 wine10 win32
finish_background

# The three-round soak types at falamci for three minutes with fixed pauses:
# alone, so that no other level's load decides what it hears.
level run_level "soak 64-bit" win64 --test-dir build/win64 -R '^soak[.]falamci$' --no-tests=error --output-on-failure

# Every fuzz target for a short, fixed time; each is one test, failed by
# any finding or by not running at all.
fuzz() {
  local start=$SECONDS out rc total passed failed note=""
  echo "-- running fuzz"
  # A fresh working corpus in the build folder, two targets at a time.
  out=$(FUZZ_FRESH=1 FUZZ_JOBS=2 FALAMCI_FUZZ_CORPUS="$PWD/build/fuzz/run" scripts/fuzz.sh "${FUZZ_TEST_SECONDS:-10}" 2>&1)
  rc=$?
  echo "== fuzz =="
  echo "$out"
  # The table: target, executions, edges, features, findings.
  total=$(echo "$out" | awk '$1 != "target" && NF == 5 && $5 ~ /^[0-9]+$/' | wc -l)
  passed=$(echo "$out" | awk '$1 != "target" && NF == 5 && $2 ~ /^[0-9]+$/ && $2 > 0 && $5 == 0' | wc -l)
  failed=$((total - passed))
  if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
    failed=1
    note="fuzz.sh ended with $rc: $(echo "$out" | tail -n 1)"
  fi
  record fuzz "$passed" "$failed" 0 $((SECONDS - start)) "$note"
}
level fuzz

echo
echo "Levels:"
passed=0 failed=0 skipped=0
for line in "$logs"/results/*; do
  IFS='|' read -r name p f s secs note <"$line"
  printf '  %-26s %4d passed %3d failed %3d skipped %5ds  %s\n' "$name" "$p" "$f" "$s" "$secs" "$note"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
done
echo "Builds: ${builds[*]} (the fuzz build is in its level)"
echo "Skipped: $skipped"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
