#!/usr/bin/env bash
# Builds Tavrin and runs it under Wine.
# - With a working X display ($DISPLAY): Tavrin runs there until it is ended from its tray
#   menu (Exit); this script returns when it ends.
# - Without one: Tavrin runs on a virtual display (Xvfb) just long enough to leave a picture
#   of its window in build/tavrin-window.png, then it is closed the way Windows closes a window.
set -euo pipefail
source "$(dirname "$0")/common.sh"

export WINEPREFIX=$TAVRIN_ROOT/build/wine-prefix
SCREENSHOT=$TAVRIN_ROOT/build/tavrin-window.png

bash "$TAVRIN_ROOT/scripts/install-deps.sh"
bash "$TAVRIN_ROOT/scripts/build.sh" app
ensure_wine_prefix "$WINEPREFIX"

if [ -n "${DISPLAY:-}" ] && timeout 10 xdpyinfo >/dev/null 2>&1; then
  echo "Tavrin runs on display $DISPLAY; end it from its tray icon menu (Exit)."
  exec wine "$WIN_BUILD/tavrin.exe"
fi

echo "No usable X display: running Tavrin on a virtual display."
rm -f "$SCREENSHOT"
timeout 300 xvfb-run -a -s "$XVFB_ARGS" \
  bash "$TAVRIN_ROOT/scripts/screenshot-window.sh" "$WIN_BUILD" "$SCREENSHOT"
end_wine_session "$WINEPREFIX"
echo "Screenshot of the running window: $SCREENSHOT"
