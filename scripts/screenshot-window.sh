#!/usr/bin/env bash
# Inside an X display: starts tavrin.exe, photographs its window, and closes it with
# WM_CLOSE. Every wait is bounded; the program is ended by its id if it does not close.
# Usage: screenshot-window.sh WIN_BUILD_DIR OUTPUT.png
set -euo pipefail
win_build=$1
output=$2
title='^Tavrin \(CPM/CPS 0\.1/0\.3/0\.5/1\.0s\)$'

wine "$win_build/tavrin.exe" </dev/null >/dev/null 2>&1 &
pid=$!
stop() { kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null; return 0; }
trap stop EXIT

xid=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
[ -n "$xid" ] || { echo "Tavrin's window did not appear" >&2; exit 1; }
sleep 2  # a few frames, so that the picture shows the painted window
geometry=$(xwininfo -id "$xid" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}')
timeout 30 import -window root -crop "$geometry" +repage "$output"

timeout 20 wine "$win_build/tests/tavrin_e2e_tool.exe" close >/dev/null 2>&1 || true
timeout 15 tail --pid="$pid" -f /dev/null || true
