#!/bin/bash
# Runs a command on the X display in DISPLAY, or on a virtual one of its own
# when there is none: with_display.sh COMMAND [ARGS...]
set -u
if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
# Xvfb takes the first free display itself and names it once it accepts
# connections.
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null; }
if ! read -r n <&"${XVFB[0]}"; then
  echo "no X display could be started" >&2
  exit 1
fi
DISPLAY=":$n" "$@"
status=$?
kill "$XVFB_PID"
exit $status
