#!/usr/bin/env bash
# Builds the host, win64 and win32 presets and runs every test: host tests natively under
# ASan/UBSan, Windows tests under Wine side by side, each in its own prefix copy, wineserver
# and display (scripts/wine-test.sh). Prints the time of each phase.
#   ZENTARO_WERROR=ON  treats warnings as errors (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
werror=${ZENTARO_WERROR:-OFF}
jobs=${ZENTARO_JOBS:-$(nproc)}
# Most Windows tests wait on Wine or on their clock rather than compute: run twice as many.
test_jobs=${ZENTARO_TEST_JOBS:-$((jobs * 2))}

phases=()
phase_start=$SECONDS
phase() { phases+=("$(printf '%-22s %4d s' "$1" $((SECONDS - phase_start)))"); phase_start=$SECONDS; }

"$root/scripts/bootstrap.sh"
phase bootstrap
"$root/scripts/lint.sh"
phase lint

for preset in host win64 win32; do
  echo "== configure and build: $preset"
  cmake --preset "$preset" -DZENTARO_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  phase "build $preset"
done
cmake --install build/win64 >/dev/null
cmake --install build/win32 >/dev/null

summary=()
failed=0
run_ctest() {
  local preset=$1 log
  shift
  log=$(mktemp)
  echo "== tests: $preset"
  # Every test runs once: a test that fails is a fault to find, never to run again.
  if ctest --preset "$preset" "$@" 2>&1 | tee "$log"; then :; else failed=1; fi
  summary+=("$preset: $(grep -E 'tests passed|tests failed' "$log" | tail -n 1)")
  # Pull the counts out of CTest's line "NN% tests passed, F tests failed out of T".
  local line pass fail total
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    fail=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    pass=$((total - fail))
    all_pass=$((all_pass + pass)); all_fail=$((all_fail + fail))
  else
    failed=1
  fi
  rm -f "$log"
}
all_pass=0; all_fail=0

# The fuzz targets, briefly, from the committed corpus: a regression of a parser shows here.
# They run beside the tests, at low priority: the Windows tests mostly wait on Wine and on
# their clocks, and the fuzzers take the processor time that leaves.
fuzz_log=$(mktemp)
fuzz_start=$SECONDS
ZENTARO_FUZZ_SECONDS=${ZENTARO_FUZZ_SECONDS:-10} nice -n 19 "$root/scripts/fuzz.sh" >"$fuzz_log" 2>&1 &
fuzz_pid=$!
trap 'kill "$fuzz_pid" 2>/dev/null || true' EXIT

run_ctest host -j "$jobs"
phase "tests host"
run_ctest win64 -j "$test_jobs"
phase "tests win64"

echo "== fuzz"
if wait "$fuzz_pid"; then fuzz_result=clean; else fuzz_result=FAILED; failed=1; fi
cat "$fuzz_log"
rm -f "$fuzz_log"
summary+=("fuzz: $fuzz_result")
phase "fuzz (rest)"
phases+=("$(printf '%-22s %4d s' "(fuzz, beside tests)" $((SECONDS - fuzz_start)))")

echo
echo "== summary"
printf '%s\n' "${phases[@]}"
printf '%s\n' "${summary[@]}"
echo "$all_pass passed, $all_fail failed"
[ "$failed" -eq 0 ] && [ "$all_fail" -eq 0 ]
