#!/bin/bash
# Start-up time of tessarine.exe under Wine beside an empty Win32 window
# program built the same way, measured from outside in the same run: from
# starting the process until its main window is on the screen, idle.
#   bench-startup.sh [BUILD_DIR] [RUNS]
# Needs an X display without a window manager (Xvfb) and a running
# wineserver (wineserver -p), as the tests have.
set -euo pipefail
build=${1:-build/mingw64}
runs=${2:-10}
tessarine=$build/app/tessarine.exe
empty=$build/bench/startup/empty_window.exe

now() { date +%s.%N; }

# One start: seconds until a visible window of that caption exists and the
# process has handled everything queued (its first paint included).
start_once() {  # EXE CAPTION
  local t0 t1 pid window=""
  t0=$(now)
  wine "$1" &
  pid=$!
  while [[ -z "$window" ]]; do
    window=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -1 || true)
  done
  t1=$(now)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk "BEGIN { print $t1 - $t0 }"
}

measure() {  # EXE CAPTION -> mean seconds
  local total=0 t
  start_once "$1" "$2" >/dev/null  # warm the file cache and the wine server
  for _ in $(seq "$runs"); do
    t=$(start_once "$1" "$2")
    total=$(awk "BEGIN { print $total + $t }")
  done
  awk "BEGIN { print $total / $runs }"
}

viewer=$(measure "$tessarine" '^Tessarine V1\.81 Deluxe$')
baseline=$(measure "$empty" '^Empty window$')
printf 'tessarine.exe  %.3f s (mean of %d)\n' "$viewer" "$runs"
printf 'empty window   %.3f s (mean of %d)\n' "$baseline" "$runs"
printf 'ratio          %.2f (target: at most 1.5)\n' "$(awk "BEGIN { print $viewer / $baseline }")"
