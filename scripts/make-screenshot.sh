#!/usr/bin/env bash
# Makes the README's pictures, docs/screenshot.png and, with --full, docs/full-keyboard.png:
# builds Tavrin and the window it is typed into, then photographs it on a virtual display
# while text is typed and three keys are held (scripts/screenshot-typing.sh).
# Usage: scripts/make-screenshot.sh [--full] [OUTPUT.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"

# The tests' prefix: never the one of a Tavrin started with run.sh, which this would end.
export WINEPREFIX=$TAVRIN_ROOT/build/wine-test-prefix
keyboard=compact
default_output=$TAVRIN_ROOT/docs/screenshot.png
if [ "${1:-}" = --full ]; then
  keyboard=full
  default_output=$TAVRIN_ROOT/docs/full-keyboard.png
  shift
fi
output=$(realpath -m "${1:-$default_output}")

bash "$TAVRIN_ROOT/scripts/install-deps.sh"
bash "$TAVRIN_ROOT/scripts/build.sh" app
cmake --build "$WIN_BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target tavrin_e2e_target
ensure_wine_prefix "$WINEPREFIX"
end_wine_session "$WINEPREFIX"

mkdir -p "$(dirname "$output")"
status=0
timeout 300 xvfb-run -a -s "$XVFB_ARGS" \
  bash "$TAVRIN_ROOT/scripts/screenshot-typing.sh" "$WIN_BUILD" "$output" "$keyboard" || status=$?
end_wine_session "$WINEPREFIX"
[ "$status" -eq 0 ] || { echo "no screenshot was made" >&2; exit "$status"; }
echo "Screenshot of Tavrin while typing: $output"
