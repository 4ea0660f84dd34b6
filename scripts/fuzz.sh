#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) in
# build/fuzz and runs each for a bounded time, starting from fuzz/seeds/<target>/ and the
# corpus earlier runs left in build/fuzz/corpus/<target>/. Prints each target's run count and
# a last line "N passed, N failed"; the exit code is non-zero when a target crashed, broke
# one of its checks or hung. A failing input is kept in build/fuzz/artifacts/.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 30)
set -uo pipefail
source "$(dirname "$0")/common.sh"

seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [SECONDS_PER_TARGET]" >&2
  exit 2
fi

FUZZ_BUILD=$TAVRIN_ROOT/build/fuzz
CORPUS=$FUZZ_BUILD/corpus
ARTIFACTS=$FUZZ_BUILD/artifacts
LOGS=$FUZZ_BUILD/logs
# Target name and the longest input it is given: a settings file, a run of key reports.
TARGETS=("settings_load 4096" "key_reports 2048")

echo "== Building the fuzz targets with clang"
if ! { CC=clang CXX=clang++ cmake -S "$TAVRIN_ROOT" -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DTAVRIN_FUZZ=ON -DTAVRIN_TESTS=OFF >/dev/null &&
       cmake --build "$FUZZ_BUILD" -j 2 --target settings_load_fuzz key_reports_fuzz >/dev/null; }; then
  echo "the fuzz targets did not build" >&2
  echo "0 passed, 1 failed"
  exit 1
fi

mkdir -p "$ARTIFACTS" "$LOGS"
passed=0
failed=0
for entry in "${TARGETS[@]}"; do
  read -r target max_len <<<"$entry"
  mkdir -p "$CORPUS/$target"
  options=(-max_total_time="$seconds" -max_len="$max_len" -timeout=20 -print_final_stats=1
           -artifact_prefix="$ARTIFACTS/$target-")
  [ -f "$TAVRIN_ROOT/fuzz/$target.dict" ] && options+=(-dict="$TAVRIN_ROOT/fuzz/$target.dict")
  log=$LOGS/$target.log
  # New inputs go to the first folder; the seeds in the source tree are only read.
  started=$SECONDS
  timeout $((seconds + 120)) "$FUZZ_BUILD/fuzz/${target}_fuzz" "${options[@]}" \
    "$CORPUS/$target" "$TAVRIN_ROOT/fuzz/seeds/$target" >"$log" 2>&1
  status=$?
  elapsed=$((SECONDS - started))
  # libFuzzer ends a clean run with "Done N runs in S second(s)"; a crash only has the stats.
  runs=$(grep -oE 'Done [0-9]+ runs' "$log" | tail -n 1 | grep -oE '[0-9]+' ||
         grep -oE 'number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  inputs=$(find "$CORPUS/$target" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $target: $runs runs in $elapsed s, corpus of $inputs inputs"
  else
    failed=$((failed + 1))
    echo "FAIL $target (exit $status) after $runs runs in $elapsed s; log $log"
    grep -E '^(settings_load|key_reports):|ERROR:|SUMMARY:|runtime error|Test unit written' "$log" | head -n 10
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
