#!/usr/bin/env bash
# Builds both presets and runs every test level: native unit tests, the same
# under the sanitizers, the Windows tests under Wine and the end-to-end run,
# the SAPI 5 runs under Wine 10, then every fuzz target for a few seconds.
# Ends with one line counting the tests of all levels.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

passed=0
failed=0
status=0
summary=()

run_level() {  # run_level NAME CONFIGURE_PRESET [TEST_PRESET]
  local name=$1 preset=$2 tests=${3:-$2}
  local out
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    echo "BUILD FAILED: $preset" >&2
    status=1
    failed=$((failed + 1))
    summary+=("$name: build failed")
    return
  fi
  out=$(ctest --preset "$tests" 2>&1)
  local rc=$?
  echo "$out" | tail -n 40
  local line total nfail
  line=$(echo "$out" | grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' | tail -n 1)
  total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
  nfail=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
  if [ -z "$line" ]; then total=0; nfail=1; fi
  # A ctest entry that runs a whole GoogleTest program (the Windows tests,
  # one Wine session for all) counts as the tests inside it.
  local inner inner_failed
  while read -r inner; do
    [ -n "$inner" ] || continue
    total=$((total + inner - 1))
  done < <(echo "$out" | sed -nE 's/^([0-9]+: )?\[==========\] ([0-9]+) tests? from .* ran\..*/\2/p')
  while read -r inner_failed; do
    [ -n "$inner_failed" ] || continue
    nfail=$((nfail + inner_failed - 1))
  done < <(echo "$out" | sed -nE 's/^([0-9]+: )? ?([0-9]+) FAILED TESTS?$/\2/p')
  passed=$((passed + total - nfail))
  failed=$((failed + nfail))
  summary+=("$name: $((total - nfail))/$total")
  [ $rc -eq 0 ] || status=1
}

run_level native native
run_level sanitizers native-asan
run_level windows win32

# Wine 10, from a Debian 13 root made once (outside the build folders) and
# reused: where SpVoice speaks. No root, no pass: the level fails in one line.
if root_error=$(scripts/wine10-root.sh 2>&1 >/dev/null); then
  run_level wine10 win32 wine10
else
  echo "wine10: ${root_error:-the Debian 13 root with Wine 10 could not be made}"
  status=1
  failed=$((failed + 1))
  summary+=("wine10: no root")
fi

# Every fuzz target for a short, fixed time; each is one test, failed by
# any finding (or by a target that did not run).
fuzz_out=$(scripts/fuzz.sh "${FUZZ_TEST_SECONDS:-10}" 2>&1)
fuzz_rc=$?
echo "$fuzz_out"
fuzz_total=$(echo "$fuzz_out" | awk 'NR > 1 && NF == 3' | wc -l)
fuzz_passed=$(echo "$fuzz_out" | awk 'NR > 1 && NF == 3 && $2 ~ /^[0-9]+$/ && $3 == 0' | wc -l)
[ "$fuzz_total" -gt 0 ] || fuzz_total=1
passed=$((passed + fuzz_passed))
failed=$((failed + fuzz_total - fuzz_passed))
summary+=("fuzz: $fuzz_passed/$fuzz_total")
[ $fuzz_rc -eq 0 ] && [ "$fuzz_passed" -eq "$fuzz_total" ] || status=1

echo
echo "Levels: ${summary[*]}"
echo "$passed passed, $failed failed"
exit $status
