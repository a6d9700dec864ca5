#!/usr/bin/env bash
# Builds the pure parsers' libFuzzer targets (preset "fuzz": clang, ASan, UBSan) and runs each
# for a set time, starting from the committed corpus in tests/fuzz/corpus/<target>/.
#   ZENTARO_FUZZ_SECONDS  seconds per target (default 60)
#   ZENTARO_FUZZ_TARGETS  the targets to run, separated by blanks (default: all)
# New inputs the fuzzer finds go to build/fuzz/found/<target>/, crashes to
# build/fuzz/crashes/<target>/; the committed corpus is only read. A crash fails the run: add
# its input to the corpus with the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${ZENTARO_FUZZ_SECONDS:-60}
targets=${ZENTARO_FUZZ_TARGETS:-"alarm_record due_rule numeric_text date_boxes day_count bitmap_header"}
jobs=${ZENTARO_JOBS:-$(nproc)}

mkdir -p "$root/build"
build_log="$root/build/fuzz-build.log"
if ! { cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs"; } >"$build_log" 2>&1; then
  echo "fuzz: the targets did not build:"
  grep -E 'error|Error' "$build_log" | head -n 10 || tail -n 20 "$build_log"
  exit 1
fi

failed=()
for target in $targets; do
  found="$root/build/fuzz/found/$target"
  crashes="$root/build/fuzz/crashes/$target"
  mkdir -p "$found" "$crashes"
  log="$root/build/fuzz/$target.log"
  # The first directory receives new inputs; the committed corpus after it seeds the run.
  if "$root/build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$crashes/" -max_len=20000 "$found" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
    echo "fuzz $target: clean, ${runs:-?} runs in ${seconds} s ($(( ${runs:-0} / seconds )) per second)"
  else
    echo "fuzz $target: FAILED (log: $log, input in $crashes/)"
    grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -n 5 || true
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ]
