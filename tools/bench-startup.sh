#!/bin/bash
# Start-up time of tessarine.exe under Wine beside an empty Win32 window
# program built the same way, in the same run: from creating the process
# until its message loop is idle with the main window shown and painted.
#   bench-startup.sh [BUILD_DIR] [RUNS]
# Needs an X display (Xvfb) and a running wineserver (wineserver -p), as the
# tests have.
set -euo pipefail
build=${1:-build/mingw64}
runs=${2:-20}
timer=$build/bench/startup/startup_timer.exe
tessarine=$(winepath -w "$build/app/tessarine.exe")
empty=$(winepath -w "$build/bench/startup/empty_window.exe")

# The two programs start in turns, so that a slow spell of the machine
# weighs on both alike.
mapfile -t medians < <(wine "$timer" "$runs" "$tessarine" "$empty" | tr -d '\r' | cut -d' ' -f1)
printf 'tessarine.exe  %6.1f ms (median of %d)\n' "${medians[0]}" "$runs"
printf 'empty window   %6.1f ms (median of %d)\n' "${medians[1]}" "$runs"
printf 'ratio          %6.2f (target: at most 1.5)\n' "$(awk "BEGIN { print ${medians[0]} / ${medians[1]} }")"
