#!/usr/bin/env bash
# Inside an X display: photographs Tavrin while someone types, for the README. A Wine window
# takes the typing (Tavrin never takes the focus, and Wine only sees keys sent to its own
# windows); a burst of text fills the speed panel, and three keys are held down so that they
# show lit when the picture is taken (with "full": the full keyboard, and a shortcut held).
# Every wait is bounded; every process is ended by its id.
# Usage: screenshot-typing.sh WIN_BUILD_DIR OUTPUT.png [full]
set -euo pipefail
win_build=$1
output=$2
keyboard=${3:-compact}
title='^Tavrin \(CPM/CPS 0\.1/0\.3/0\.5/1\.0s\)$'
target_title='^Tavrin E2E Target$'

# Tavrin runs from a folder of its own with the default settings, placed below the window
# that Wine shows for the notification area when there is no desktop.
app_dir=$(mktemp -d)
cp "$win_build/tavrin.exe" "$app_dir/"
cp "$win_build"/click*.wav "$app_dir/" 2>/dev/null || true
layout=0
held_keys=(t a v)
if [ "$keyboard" = full ]; then
  layout=1
  held_keys=(Control_L Shift_L s)
fi
printf '[main]\r\nleft=0\r\ntop=60\r\nlayout=%s\r\n' "$layout" >"$app_dir/settings.ini"

pids=()
held=()
finish() {
  for key in "${held[@]}"; do timeout 10 xdotool keyup "$key" || true; done
  for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null; done
  rm -rf "$app_dir"
  return 0
}
trap finish EXIT

# The window being typed into also gives Tavrin's transparent pixels a background.
read -r width height < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
wine "$win_build/tests/tavrin_e2e_target.exe" 0 0 "$width" "$height" </dev/null >/dev/null 2>&1 &
pids+=($!)
target=$(timeout 60 xdotool search --sync --onlyvisible --name "$target_title" | head -n 1)
[ -n "$target" ] || { echo "the window to type into did not appear" >&2; exit 1; }

(cd "$app_dir" && exec wine ./tavrin.exe) </dev/null >/dev/null 2>&1 &
pids+=($!)
xid=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
[ -n "$xid" ] || { echo "Tavrin's window did not appear" >&2; exit 1; }
sleep 2  # a first start in a prefix builds Wine's font cache; let the window paint

timeout 20 xdotool windowfocus --sync "$target"
timeout 60 xdotool type --delay 180 "tavrin shows what you type"
# Held keys stay lit; the picture is taken before the held keys would start to repeat.
for key in "${held_keys[@]}"; do
  timeout 10 xdotool keydown "$key"
  held+=("$key")
done
sleep 0.2
geometry=$(xwininfo -id "$xid" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}')
timeout 30 import -window root -crop "$geometry" +repage "$output"
for key in "${held[@]}"; do timeout 10 xdotool keyup "$key"; done
held=()

timeout 20 wine "$win_build/tests/tavrin_e2e_tool.exe" close >/dev/null 2>&1 || true
timeout 15 tail --pid="${pids[1]}" -f /dev/null || true
