#!/bin/bash
# Runs the UI tests under Wine: run_ui_tests.sh UI_TESTS_EXE [ARGS...]
# Their windows go on a Wine desktop of their own, a fixed 1280 x 1024
# screen that needs no window manager (without one, Wine waits two seconds
# for every top-level window it takes off the screen).
set -u
here=$(dirname "$0")
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v TessarineUiTests /d 1280x1024 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\AppDefaults\ui_tests.exe\Explorer' /v Desktop /d TessarineUiTests /f \
  >/dev/null 2>&1
exec "$here/with_display.sh" wine "$@"
