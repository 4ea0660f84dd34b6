#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) in
# build/fuzz and runs each for a bounded time, or for a set number of runs, starting from
# fuzz/seeds/<target>/ and the corpus earlier runs left in build/fuzz/corpus/<target>/. Prints
# each target's run count and a last line "N passed, N failed"; the exit code is non-zero when
# a target crashed, broke one of its checks or hung. A failing input is kept in
# build/fuzz/artifacts/.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]          (default 30)
#        scripts/fuzz.sh --runs N [TARGET ...]          a campaign of N runs for each target
#                                                       (all of them unless some are named)
set -uo pipefail
source "$(dirname "$0")/common.sh"

usage() {
  echo "usage: $0 [SECONDS_PER_TARGET] | --runs N [TARGET ...]" >&2
  exit 2
}

seconds=30
runs=
if [ "${1:-}" = "--runs" ]; then
  runs=${2:-}
  [[ $runs =~ ^[0-9]+$ ]] && [ "$runs" -ge 1 ] || usage
  shift 2
  chosen=("$@")
else
  seconds=${1:-30}
  [[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -ge 1 ] || usage
  [ $# -le 1 ] || usage
  chosen=()
fi

FUZZ_BUILD=$TAVRIN_ROOT/build/fuzz
CORPUS=$FUZZ_BUILD/corpus
ARTIFACTS=$FUZZ_BUILD/artifacts
LOGS=$FUZZ_BUILD/logs
# Target name and the longest input it is given: a settings file, an INI file, a run of key
# reports.
TARGETS=("settings_load 4096" "ini_round_trip 4096" "key_reports 2048")
for name in "${chosen[@]}"; do
  printf '%s\n' "${TARGETS[@]}" | grep -q "^$name " || { echo "no fuzz target $name" >&2; usage; }
done

echo "== Building the fuzz targets with clang"
if ! { CC=clang CXX=clang++ cmake -S "$TAVRIN_ROOT" -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DTAVRIN_FUZZ=ON -DTAVRIN_TESTS=OFF >/dev/null &&
       cmake --build "$FUZZ_BUILD" -j 2 --target settings_load_fuzz ini_round_trip_fuzz key_reports_fuzz >/dev/null; }; then
  echo "the fuzz targets did not build" >&2
  echo "0 passed, 1 failed"
  exit 1
fi

mkdir -p "$ARTIFACTS" "$LOGS"
passed=0
failed=0
for entry in "${TARGETS[@]}"; do
  read -r target max_len <<<"$entry"
  if [ ${#chosen[@]} -gt 0 ] && ! printf '%s\n' "${chosen[@]}" | grep -qx "$target"; then continue; fi
  mkdir -p "$CORPUS/$target"
  options=(-max_len="$max_len" -timeout=20 -print_final_stats=1 -artifact_prefix="$ARTIFACTS/$target-")
  if [ -n "$runs" ]; then
    options+=(-runs="$runs")
    limit=$((runs / 100 + 600))  # a hang still ends the campaign
  else
    options+=(-max_total_time="$seconds")
    limit=$((seconds + 120))
  fi
  [ -f "$TAVRIN_ROOT/fuzz/$target.dict" ] && options+=(-dict="$TAVRIN_ROOT/fuzz/$target.dict")
  log=$LOGS/$target.log
  # New inputs go to the first folder; the seeds in the source tree are only read.
  started=$SECONDS
  timeout "$limit" "$FUZZ_BUILD/fuzz/${target}_fuzz" "${options[@]}" \
    "$CORPUS/$target" "$TAVRIN_ROOT/fuzz/seeds/$target" >"$log" 2>&1
  status=$?
  elapsed=$((SECONDS - started))
  # libFuzzer ends a clean run with "Done N runs in S second(s)"; a crash only has the stats.
  done_runs=$(grep -oE 'Done [0-9]+ runs' "$log" | tail -n 1 | grep -oE '[0-9]+' ||
              grep -oE 'number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  inputs=$(find "$CORPUS/$target" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $target: $done_runs runs in $elapsed s, corpus of $inputs inputs"
  else
    failed=$((failed + 1))
    echo "FAIL $target (exit $status) after $done_runs runs in $elapsed s; log $log"
    grep -E '^(settings_load|ini_round_trip|key_reports):|ERROR:|SUMMARY:|runtime error|Test unit written' "$log" | head -n 10
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
