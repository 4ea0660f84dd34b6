#!/usr/bin/env bash
# Runs every benchmark of Tavrin and writes docs/performance.md:
#   1. the core's hot paths on the host (Google Benchmark, build/bench-host),
#   2. whole frames composed through GDI under Wine (build/bench-win),
#   3. the real tavrin.exe under Wine on a virtual display, measured from outside: CPU idle
#      and while typing (through the colour key, and with per-pixel alpha; the compact keyboard
#      and the full one), resident memory, key-down to pixels, and memory over a typing run.
# Usage: scripts/bench.sh [--long]
#   --long   the memory run types for 10 minutes instead of 2.
# It takes about 21 minutes (29 with --long); keep the machine otherwise idle meanwhile.
# Raw results go to build/bench-results.
set -euo pipefail
source "$(dirname "$0")/common.sh"

memory_minutes=2
long=false
case "${1:-}" in
  "") ;;
  --long) memory_minutes=10; long=true ;;
  *) echo "usage: $0 [--long]" >&2; exit 2 ;;
esac

BENCH_HOST=$TAVRIN_ROOT/build/bench-host
BENCH_WIN=$TAVRIN_ROOT/build/bench-win
RESULTS=$TAVRIN_ROOT/build/bench-results
export WINEPREFIX=$TAVRIN_ROOT/build/bench-prefix
export TAVRIN_WIN_BUILD=$BENCH_WIN
export TAVRIN_E2E_ARTIFACTS=$RESULTS/artifacts
# The measuring script places the typing target over the whole screen; any size will do. The
# full keyboard is measured on a wider one, which holds two of it side by side (1408 pixels
# each at scale 1.00), each beside its floor.
SCREEN=1920x1080x24
FULL_SCREEN=2880x1080x24

"$TAVRIN_ROOT/scripts/install-deps.sh"
# perf, for the profile of the program while typing; the report says so when it is missing.
if ! command -v perf >/dev/null; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends linux-perf || true
fi

echo "== Building"
cmake -S "$TAVRIN_ROOT" -B "$BENCH_HOST" -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON \
  -DTAVRIN_TESTS=OFF >/dev/null
cmake --build "$BENCH_HOST" -j2 --target tavrin_bench >/dev/null
cmake -S "$TAVRIN_ROOT" -B "$BENCH_WIN" -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON \
  -DCMAKE_TOOLCHAIN_FILE="$TAVRIN_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$BENCH_WIN" -j2 --target tavrin tavrin_e2e_target tavrin_e2e_tool \
  tavrin_frame_bench tavrin_reference_window tavrin_floor_window >/dev/null
ensure_wine_prefix "$WINEPREFIX"
rm -rf "$RESULTS"
mkdir -p "$RESULTS"

echo "== The core on the host"
"$BENCH_HOST/bench/tavrin_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$RESULTS/host.json" --benchmark_out_format=json | grep -v '_mean\|_stddev\|_cv'

# Each environment three times: from one start of the program to the next the figures move
# by up to half on this machine, so the report takes the median of the three.
frame_runs() {
  local output=$1 run
  for run in 1 2 3; do
    timeout 900 xvfb-run -a -s "-screen 0 $SCREEN -nolisten tcp" \
      wine "$BENCH_WIN/bench/tavrin_frame_bench.exe" | tee -a "$output"
    end_wine_session "$WINEPREFIX"
  done
}
echo "== Frames through GDI under Wine"
end_wine_session "$WINEPREFIX"
frame_runs "$RESULTS/frame.txt"
# Again with an X resource database, as every desktop session has one: without any, libX11
# reads ~/.Xdefaults afresh each time Wine asks for a font setting, twice per label drawn.
echo "== Frames through GDI under Wine, with X resources"
printf 'tavrin.bench:\ton\n' >"$RESULTS/xresources"
XENVIRONMENT=$RESULTS/xresources frame_runs "$RESULTS/frame-xresources.txt"

echo "== tavrin.exe under Wine, measured from outside (memory run: $memory_minutes min)"
timeout $((1200 + memory_minutes * 60)) xvfb-run -a -s "-screen 0 $SCREEN -nolisten tcp" \
  python3 "$TAVRIN_ROOT/bench/measure_e2e.py" "$RESULTS/e2e.json" --memory-minutes "$memory_minutes"
end_wine_session "$WINEPREFIX"

echo "== tavrin.exe under Wine showing the full keyboard, measured from outside"
timeout 1200 xvfb-run -a -s "-screen 0 $FULL_SCREEN -nolisten tcp" \
  python3 "$TAVRIN_ROOT/bench/measure_e2e.py" "$RESULTS/e2e-full.json" --keyboard full
end_wine_session "$WINEPREFIX"

cat >"$RESULTS/run.json" <<EOF
{"date": "$(date -u '+%Y-%m-%d %H:%M UTC')", "commit": "$(git -C "$TAVRIN_ROOT" rev-parse --short HEAD)",
 "wine": "$(wine --version)", "screen": "$SCREEN", "full_screen": "$FULL_SCREEN", "long": $long}
EOF
python3 "$TAVRIN_ROOT/bench/write_report.py" "$RESULTS" "$TAVRIN_ROOT/docs/performance.md"
echo "Wrote docs/performance.md"
