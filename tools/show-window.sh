#!/bin/bash
# Opens tessarine.exe under Wine: show-window.sh [BUILD_DIR] [PAGE_FILE]
# On a display it simply runs. Without one it starts a virtual display, runs
# the program on a Wine desktop (which draws the window's frame and caption
# as Windows would), saves build/screenshots/tessarine.png and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
build=${1:-build/mingw64}
shift || true
exe=$build/app/tessarine.exe
[[ -x "$exe" ]] || { echo "build $exe first (cmake --preset mingw64; cmake --build --preset mingw64)"; exit 1; }

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  start_wine || true
  exec wine "$exe" "$@"
fi

start_virtual_display
trap 'kill "$TESSARINE_XVFB_PID" 2>/dev/null' EXIT
start_wine || true  # a wine server may run already
wine explorer /desktop=Tessarine,1024x768 "$exe" "$@" &
pid=$!
for _ in $(seq 300); do
  window=$(xdotool search --name '^Tessarine V[0-9]' 2>/dev/null | head -1 || true)
  [[ -n "$window" ]] && break
  sleep 0.1
done
sleep 1
mkdir -p build/screenshots
import -window root -crop 1024x768+0+0 build/screenshots/tessarine.png
echo "screenshot: build/screenshots/tessarine.png"
xdotool mousemove 512 384 click 1
xdotool key alt+x
wait "$pid" || true
