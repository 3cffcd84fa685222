#!/bin/bash
# Black-box checks of tessarine.exe as the shell and a user meet it, under
# Wine in the prefix of WINEPREFIX, on the X display in DISPLAY:
#   shell_test.sh TESSARINE_EXE PROBE_EXE WORK_DIR SCREENSHOT_DIR
# The .wl6 association it writes, the command line it is started with, the
# start view's links and Alt+X (the About box is commands_test.cpp's). The
# registry keys it touches are put back as they were at the end.
set -u
exe=$1
probe=$2
work=$3
shots=$4
export LC_ALL=C.UTF-8  # Cyrillic paths cross between Linux and Wine as UTF-8
rm -rf "$work"
mkdir -p "$work" "$shots"
source "$(dirname "$0")/../support/checks.sh"
win() { winepath -w "$1" 2>/dev/null; }
# The queries (view, regvalue) always print a line; when one prints nothing,
# Wine did not get the probe running, which happens now and then on a busy
# machine, so the query is asked again.
probe() {
  local out _
  for _ in 1 2 3; do
    out=$(wine "$probe" "$@" 2>/dev/null | tr -d '\r')
    [[ -n "$out" || ("$1" != view && "$1" != regvalue) ]] && break
  done
  [[ -z "$out" ]] || printf '%s\n' "$out"
}

progid='Brightoak.Wolfenstein3D.WL6'
association_keys=(.wl6 "$progid" "$progid\\Shell\\Open\\Command" "$progid\\DefaultIcon")
# Registry set-up through reg.exe is checked with the probe and done again
# when it did not take, for the same reason as the probe's queries.
# registry KEY: deletes HKCR\KEY; registry KEY VALUE: sets its default value.
registry() {
  local _
  for _ in 1 2 3; do
    if (( $# == 1 )); then
      wine reg delete "HKCR\\$1" /f >/dev/null 2>&1
      [[ "$(probe regvalue "$1")" == missing ]] && return 0
    else
      wine reg add "HKCR\\$1" /ve /d "$2" /f >/dev/null 2>&1
      [[ "$(probe regvalue "$1")" == "REG_SZ "*" $2" ]] && return 0
    fi
  done
  fail "could not set HKCR\\$1 to '${2-nothing}'"
}
delete_association() {
  registry .wl6
  registry "$progid"
}
# The default values of the four keys, one line each.
association() {
  local key
  for key in "${association_keys[@]}"; do probe regvalue "$key"; done
}

# A page file of N (< 256) chunks of one byte each, so its tree has N + 4 nodes.
write_page_file() {
  python3 -c 'import struct, sys; n = int(sys.argv[2]); open(sys.argv[1], "wb").write(struct.pack("<HHH", n, 0, 0)
    + b"".join(struct.pack("<I", 6 + 6 * n + i) for i in range(n)) + struct.pack("<H", 1) * n + bytes(range(n)))' "$1" "$2"
}

# launch run EXE TAIL: starts EXE with exactly the command line TAIL after
# its own quoted path (through the probe, so that Wine does not re-quote it);
# launch shellopen FILE: opens FILE as a double click would. Then waits
# until the main window shows.
launcher=""
launch() {
  local _ first
  wine "$probe" "$@" >/dev/null 2>&1 &
  launcher=$!
  for _ in $(seq 150); do
    first=$(probe view | head -1)
    if [[ -n "$first" && "$first" != none ]]; then
      sleep 0.5  # the first showing and its load are done by then
      return 0
    fi
    kill -0 "$launcher" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
# Closes the viewer and waits until its main window is gone, so that the
# next step cannot meet it. The close is posted again if the window stays,
# for the same reason the queries are asked again.
stop() {
  local _ first status
  for _ in 1 2 3; do
    probe close >/dev/null
    for _ in $(seq 25); do
      first=$(probe view | head -1)
      [[ "$first" == none ]] && break 2
      sleep 0.2
    done
  done
  wait "$launcher"
  status=$?
  [[ "$first" == none ]] || fail "the main window stayed open"
  [[ $status -eq 0 ]] || fail "exit code $status"
}

# expect_view NAME PATTERN...: every pattern (an extended regex) matches a
# line of what the viewer shows.
expect_view() {
  local name=$1 view pattern ok=1
  shift
  view=$(probe view)
  for pattern in "$@"; do
    if [[ "$pattern" == !* ]]; then
      grep -qE -- "${pattern:1}" <<<"$view" && { fail "$name: shows /${pattern:1}/"; ok=0; }
    else
      grep -qE -- "$pattern" <<<"$view" || { fail "$name: no /$pattern/"; ok=0; }
    fi
  done
  if [[ $ok -eq 1 ]]; then pass; else echo "$view" | sed 's/^/    /'; fi
}

start_view=('^tree 0$' '^label 1 .* Tessarine$' '^label 1 .* Version: 1\.81 Deluxe$' '^label 1 .* Author: $'
  '^label 1 .* Ada Brightoak$' '^label 1 .* Web Page: $' '^label 1 .* http://brightoak\.example/$')
no_dialog='!^window #32770'

# --- The association -------------------------------------------------------

restore_registry() {
  delete_association
  local scheme
  for scheme in mailto http https; do
    [[ -n "${saved_handler[$scheme]:-}" ]] &&
      registry "$scheme\\shell\\open\\command" "${saved_handler[$scheme]}"
  done
}
declare -A saved_handler
trap 'probe close >/dev/null; restore_registry' EXIT
exe_win=$(win "$exe")

# The first start writes the four keys, over a ProgID left without .wl6; the
# values are wide, so an executable in a folder with Cyrillic letters is
# registered by its path.
cyrillic="$work/Программы просмотра"
mkdir -p "$cyrillic"
cp "$exe" "$cyrillic/tessarine.exe"
delete_association
registry "$progid" old
registry "$progid\\Shell\\Open\\Command" 'old.exe %1'
registry "$progid\\DefaultIcon" 'old.exe,0'
launch run "$(win "$cyrillic/tessarine.exe")" "" || fail "no main window"
stop
cyr_win=$(win "$cyrillic/tessarine.exe")
expected="REG_SZ 56 $progid
REG_SZ 56 Wolfenstein3D Resource File
REG_SZ $(((${#cyr_win} + 8) * 2)) \"$cyr_win\" \"%1\"
REG_SZ $(((${#cyr_win} + 3) * 2)) $cyr_win,1"
got=$(association)
[[ "$got" == "$expected" ]] && pass || fail "first start wrote: $got, not: $expected"

# --- The command line ------------------------------------------------------

# What a loaded file shows: its tree (the file's chunks, the file node and
# the three sections), and no message; its caption and the hidden links are
# tested in-process (browse_test.cpp, commands_test.cpp).
# Minimising and restoring shows the window again but opens nothing anew:
# the argument's file changed meanwhile, the tree stays as it was. An
# existing .wl6, even with an empty value, is left alone and the other three
# keys are not written.
delete_association
registry .wl6 ""
write_page_file "$work/changing.wl6" 50
launch run "$exe_win" "\"$(win "$work/changing.wl6")\"" || fail "changing file: no window"
write_page_file "$work/changing.wl6" 5
# From the taskbar button the main window is hidden and shown again.
[[ "$(probe minimise)" == "hidden normal" ]] && pass || fail "minimising did not hide and restore"
sleep 0.5
expect_view "restored after minimising" '^tree 54$' "$no_dialog"
stop
got=$(association)
[[ "$got" == $'REG_SZ 2 \nmissing\nmissing\nmissing' ]] && pass || fail "an existing .wl6 gave: $got"
delete_association

# --- The start view's links and Alt+X ------------------------------------------

# Stand-ins for the mail program and the browser record what they are asked
# to open, and how they were to be shown (1: normally).
log="$work/links.log"
for scheme in mailto http https; do
  saved_handler[$scheme]=$(probe regvalue "$scheme\\shell\\open\\command" | sed -n 's/^REG_SZ [0-9]* //p')
  registry "$scheme\\shell\\open\\command" "\"$(win "$probe")\" record \"$(win "$log")\" \"%1\""
done

# The colours in a screen rectangle "LEFT TOP RIGHT BOTTOM", as #RRGGBB words.
colours() {
  local l t r b
  read -r l t r b <<<"$1"
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" png:- |
    convert png:- -format %c histogram:info:- | grep -oE '#[0-9A-F]{6}' | sort | tr '\n' ' '
}
# The screen rectangle of the label with this text.
place_of() { probe view | sed -n "s|^label 1 \([-0-9]* [-0-9]* [-0-9]* [-0-9]*\) $1\$|\1|p"; }
centre_of() {
  local l t r b
  read -r l t r b <<<"$1"
  echo "$(((l + r) / 2)) $(((t + b) / 2))"
}
wait_for_log() {
  local _
  for _ in $(seq 50); do
    [[ -f "$log" && $(wc -l <"$log") -ge $1 ]] && return 0
    sleep 0.2
  done
  return 1
}

xdotool mousemove 0 0
launch run "$exe_win" "" || fail "links: no window"
author=$(place_of 'Ada Brightoak')
web=$(place_of 'http://brightoak\.example/')
caption=$(place_of Tessarine)
if [[ -z "$author" || -z "$web" || -z "$caption" ]]; then
  fail "links: not found in the start view"
else
  import -window root "$shots/start-view.png"
  for link in "$author" "$web"; do
    [[ "$(colours "$link")" == "#000000 #FFFFFF " ]] && pass || fail "link before hover: $(colours "$link")"
    xdotool mousemove $(centre_of "$link")
    sleep 0.5
    [[ "$(colours "$link")" == "#0000FF #FFFFFF " ]] && pass || fail "link under the pointer: $(colours "$link")"
    [[ "$link" == "$author" ]] && import -window root "$shots/author-link-hover.png"
    xdotool mousemove $(centre_of "$caption")  # still over the panel, off the link
    sleep 0.5
    [[ "$(colours "$link")" == "#000000 #FFFFFF " ]] && pass || fail "link after the pointer left: $(colours "$link")"
  done

  xdotool mousemove $(centre_of "$author") click 1
  wait_for_log 1
  xdotool mousemove $(centre_of "$web") click 1
  wait_for_log 2
  expected_log="show=1 mailto:ada@brightoak.example
show=1 http://brightoak.example/"
  [[ "$(cat "$log" 2>/dev/null)" == "$expected_log" ]] && pass || fail "links opened: $(cat "$log" 2>/dev/null)"
  expect_view "links leave the start view as it was" "${start_view[@]}" "$no_dialog"
fi

# Alt+X ends the viewer as a user would: a click gives the main window the
# keyboard (no window manager runs), Alt+X closes it, and the program ends
# with exit code 0. The taskbar's application window is captioned
# "tessarine" meanwhile. xdotool's search gives up with an X error when a
# window vanishes while it walks the tree, as a tooltip may, so ask again.
geometry=""
for _ in $(seq 25); do
  main=$(xdotool search --onlyvisible --name '^Tessarine V1\.81 Deluxe$' 2>/dev/null | head -1)
  [[ -n "$main" ]] && geometry=$(xdotool getwindowgeometry --shell "$main" 2>/dev/null) && break
  sleep 0.2
done
if [[ -z "$geometry" ]]; then
  fail "Alt+X: the main window is not on the X display"
  stop
else
  eval "$geometry"
  [[ -n "$(xdotool search --name '^tessarine$' 2>/dev/null | head -1)" ]] && pass ||
    fail "no application window captioned 'tessarine'"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  sleep 0.3
  xdotool key alt+x
  for _ in $(seq 100); do kill -0 "$launcher" 2>/dev/null && sleep 0.1; done
  if kill -0 "$launcher" 2>/dev/null; then
    fail "Alt+X did not end the program"
    stop
  else
    wait "$launcher" && pass || fail "exit code $? after Alt+X"
  fi
fi

# Opened in the shell: the association the links' start wrote names the
# program, which opens the file on its first showing. The parsing of the
# command line is tested natively (cmdline_test.cpp); here, a quoted path
# with blanks and Cyrillic letters reaches the loader.
cyrillic_file="$work/Игры Вольфа/vswap.wl6"
mkdir -p "$work/Игры Вольфа"
write_page_file "$cyrillic_file" 30
launch shellopen "$(win "$cyrillic_file")" || fail "shell open: no window"
expect_view "opened by the shell" '^tree 34$' "$no_dialog"
import -window root "$shots/shell-opened.png"
stop

finish "shell checks"
