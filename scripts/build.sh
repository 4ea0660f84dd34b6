#!/usr/bin/env bash
# Configures and builds Tavrin: the host tree build/host (the portable core and its unit
# tests) and the Windows tree build/win (tavrin.exe, the Win32 tests and the end-to-end
# programs, cross-compiled with MinGW-w64). Running it again only rebuilds what changed.
#
# Usage: scripts/build.sh [all|host|win|app]   (app: only tavrin.exe and the e2e helper)
set -euo pipefail
source "$(dirname "$0")/common.sh"

what=${1:-all}
jobs=$(nproc 2>/dev/null || echo 2)

build_host() {
  cmake -S "$TAVRIN_ROOT" -B "$HOST_BUILD" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$HOST_BUILD" -j "$jobs"
}

configure_win() {
  cmake -S "$TAVRIN_ROOT" -B "$WIN_BUILD" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$TAVRIN_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
}

case $what in
  all) build_host; configure_win; cmake --build "$WIN_BUILD" -j "$jobs" ;;
  host) build_host ;;
  win) configure_win; cmake --build "$WIN_BUILD" -j "$jobs" ;;
  app) configure_win; cmake --build "$WIN_BUILD" -j "$jobs" --target tavrin tavrin_e2e_tool ;;
  *) echo "usage: $0 [all|host|win|app]" >&2; exit 2 ;;
esac
