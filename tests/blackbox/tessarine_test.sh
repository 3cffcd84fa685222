#!/bin/bash
# Black-box check of tessarine.exe under Wine, as a user starts it:
# tessarine_test.sh TESSARINE_EXE SCREENSHOT_DIR
# Finds the main window by its caption, saves a screenshot, closes the
# program with Alt+X and expects exit code 0. Needs an X display.
set -u
exe=$1
shots=$2
mkdir -p "$shots"
caption='^Tessarine V1\.81 Deluxe$'

# Starts the program and waits up to 30 s for its main window; sets pid and
# window.
start() {
  wine "$exe" &
  pid=$!
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "$caption" 2>/dev/null | head -1)
    [[ -n "$window" ]] && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "FAIL: tessarine.exe ended before its window showed"
      exit 1
    fi
    sleep 0.1
  done
  return 1
}

trap 'kill "$pid" 2>/dev/null' EXIT
# Wine on a busy machine has now and then kept a first window from showing;
# one more start tells that apart from a program that never shows one.
if ! start; then
  echo "note: no window after 30 s; visible windows:"
  xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | sed 's/^/    /'
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  if ! start; then
    echo "FAIL: no window captioned 'Tessarine V1.81 Deluxe'"
    exit 1
  fi
fi
# xdotool's search gives up when a window vanishes while it walks the tree,
# so one empty answer is not yet a missing window.
app_window=""
for _ in $(seq 10); do
  app_window=$(xdotool search --name '^tessarine$' 2>/dev/null | head -1)
  [[ -n "$app_window" ]] && break
  sleep 0.2
done
if [[ -z "$app_window" ]]; then
  echo "FAIL: no application window captioned 'tessarine'"
  exit 1
fi
sleep 1  # let the first paint finish
import -window root "$shots/tessarine-start.png"
echo "screenshot: $shots/tessarine-start.png"

# Without a window manager a click gives the window the keyboard.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
sleep 0.3
xdotool key alt+x

for _ in $(seq 300); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: Alt+X did not end the program"
  exit 1
fi
wait "$pid"
status=$?
trap - EXIT
if [[ $status -ne 0 ]]; then
  echo "FAIL: exit code $status"
  exit 1
fi
echo "1 passed, 0 failed"
