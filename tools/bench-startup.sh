#!/bin/bash
# Start-up time of tessarine.exe under Wine beside two programs built the
# same way, in the same run, each timed from creating the process until its
# message loop is idle with the main window shown and painted:
# - an empty Win32 window, the yardstick;
# - the viewer's windows with nothing behind them (skeleton_window), which
#   shows what the window structure alone costs the window system.
#   bench-startup.sh [BUILD_DIR] [RUNS]
# Needs an X display (Xvfb) and a running wineserver (wineserver -p), as the
# tests have.
set -euo pipefail
build=${1:-build/mingw64}
runs=${2:-20}
timer=$build/bench/startup/startup_timer.exe
tessarine=$(winepath -w "$build/app/tessarine.exe")
empty=$(winepath -w "$build/bench/startup/empty_window.exe")
skeleton=$(winepath -w "$build/bench/startup/skeleton_window.exe")

# The programs start in turns, so that a slow spell of the machine weighs on
# all alike.
mapfile -t medians < <(wine "$timer" "$runs" "$tessarine" "$empty" "$skeleton" | tr -d '\r' | cut -d' ' -f1)
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }
printf 'tessarine.exe    %6.1f ms (median of %d)\n' "${medians[0]}" "$runs"
printf 'empty window     %6.1f ms\n' "${medians[1]}"
printf 'window skeleton  %6.1f ms\n' "${medians[2]}"
printf 'tessarine / empty window     %s (target: at most 1.5)\n' "$(ratio "${medians[0]}" "${medians[1]}")"
printf 'skeleton / empty window      %s (the window structure alone)\n' "$(ratio "${medians[2]}" "${medians[1]}")"
printf 'tessarine / window skeleton  %s (what the program adds)\n' "$(ratio "${medians[0]}" "${medians[2]}")"
