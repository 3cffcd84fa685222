#!/bin/bash
# Runs a command on the X display in DISPLAY, or on a virtual one of its own
# when there is none: with_display.sh COMMAND [ARGS...]
set -u
if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
for n in $(seq 90 140); do
  [[ -e /tmp/.X$n-lock ]] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
    DISPLAY=":$n" "$@"
    status=$?
    kill "$xvfb"
    exit $status
  fi
  kill "$xvfb" 2>/dev/null
done
echo "no X display could be started" >&2
exit 1
