#!/usr/bin/env bash
# Runs every test of Tavrin: installs what is missing, builds both trees, then
#   1. the host unit tests (CTest, build/host),
#   2. the Win32 tests under Wine (CTest, build/win) on a virtual display,
#   3. the end-to-end tests: the real tavrin.exe under Wine on a virtual display,
#   4. the fuzz targets, 30 s each (scripts/fuzz.sh, build/fuzz).
# Logs go to build/logs. The last line says "N passed, N failed" over all four; the exit
# code is 0 only when nothing failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"

# A prefix of its own, so that tests never touch a Tavrin started with run.sh.
export WINEPREFIX=$TAVRIN_ROOT/build/wine-test-prefix
LOGS=$TAVRIN_ROOT/build/logs
mkdir -p "$LOGS"

total_passed=0
total_failed=0
report=()

# Adds one suite's counts: name, passed, failed.
count() {
  total_passed=$((total_passed + $2))
  total_failed=$((total_failed + $3))
  report+=("$(printf '  %-28s %4d passed %4d failed' "$1" "$2" "$3")")
}

# Counts from CTest's closing line "NN% tests passed, F tests failed out of T" in log $2.
count_ctest() {
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$2" | tail -n 1)
  if [ -z "$line" ]; then
    count "$1" 0 1  # no closing line: CTest ran nothing or did not finish
    return
  fi
  local failed total
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  count "$1" $((total - failed)) "$failed"
}

# The Win32 tests are one CTest test holding many GoogleTest cases: count the cases from
# GoogleTest's own closing lines in the verbose log $2, and fall back on CTest's counts when
# the program ended before printing them.
count_gtest_cases() {
  local passed failed ctest_failed
  passed=$(grep -oE '\[  PASSED  \] [0-9]+ tests?\.' "$2" | awk '{n += $4} END {print n + 0}')
  failed=$(grep -oE '\[  FAILED  \] [0-9]+ tests?,' "$2" | awk '{n += $4} END {print n + 0}')
  ctest_failed=$(grep -oE '[0-9]+ tests? failed out of' "$2" | tail -n 1 | awk '{print $1}')
  if [ $((passed + failed)) -eq 0 ] || { [ "$failed" -eq 0 ] && [ "${ctest_failed:-1}" -ne 0 ]; }; then
    count_ctest "$1" "$2"
  else
    count "$1" "$passed" "$failed"
  fi
}

# Counts a stage by the closing "N passed, N failed" line of its log; a log without one (the
# stage died) counts as one failure.
count_summary_line() {
  local what=$1 log=$2 line passed failed
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    read -r passed _ failed _ <<<"${line//,/}"
    count "$what" "$passed" "$failed"
  else
    count "$what" 0 1
  fi
}

finish() {
  echo
  echo "Summary (logs in $LOGS):"
  printf '%s\n' "${report[@]}"
  echo "$total_passed passed, $total_failed failed"
  [ "$total_failed" -eq 0 ] && [ "$total_passed" -gt 0 ]
  exit $?
}

echo "== Installing missing packages"
if ! bash "$TAVRIN_ROOT/scripts/install-deps.sh"; then
  count "package installation" 0 1
  finish
fi

echo "== Building (host and Windows)"
if ! bash "$TAVRIN_ROOT/scripts/build.sh" all >"$LOGS/build.log" 2>&1; then
  tail -n 40 "$LOGS/build.log"
  count "build" 0 1
  finish
fi

echo "== Host unit tests"
ctest --test-dir "$HOST_BUILD" --output-on-failure --timeout 300 -j "$(nproc)" 2>&1 \
  | tee "$LOGS/host-tests.log" | grep -E 'tests passed|Failed|\*\*\*' || true
count_ctest "host unit tests" "$LOGS/host-tests.log"

echo "== Win32 tests under Wine"
if ensure_wine_prefix "$WINEPREFIX"; then
  end_wine_session "$WINEPREFIX"
  timeout 900 xvfb-run -a -s "$XVFB_ARGS" \
    ctest --test-dir "$WIN_BUILD" --verbose --timeout 300 2>&1 \
    | tee "$LOGS/win32-tests.log" | grep -E 'tests passed|\[  FAILED  \]|\*\*\*' || true
  end_wine_session "$WINEPREFIX"
  count_gtest_cases "Win32 tests under Wine" "$LOGS/win32-tests.log"

  echo "== End-to-end tests"
  timeout 1500 xvfb-run -a -s "$XVFB_ARGS" \
    env TAVRIN_WIN_BUILD="$WIN_BUILD" TAVRIN_E2E_ARTIFACTS="$TAVRIN_ROOT/build/e2e-artifacts" \
    python3 "$TAVRIN_ROOT/tests/e2e/run_e2e.py" 2>&1 | tee "$LOGS/e2e-tests.log"
  end_wine_session "$WINEPREFIX"
  count_summary_line "end-to-end tests" "$LOGS/e2e-tests.log"
else
  count "Wine prefix" 0 1
fi

echo "== Fuzz targets"
bash "$TAVRIN_ROOT/scripts/fuzz.sh" 2>&1 | tee "$LOGS/fuzz.log"
count_summary_line "fuzz targets" "$LOGS/fuzz.log"

finish
