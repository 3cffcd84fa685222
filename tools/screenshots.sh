#!/bin/bash
# Draws the README's pictures from the bundled sample page file:
#   screenshots.sh [OUT_DIR]   draws them into OUT_DIR (default docs/)
#   screenshots.sh --check     draws them under build/screenshots/docs and
#                              fails when docs/ holds other pictures
# viewer.png: the viewer on a Wine desktop the size of its window, on a
# virtual display of its own, with sprite 87 selected and zoomed in by a
# drag over the preview, as a user would. sprites.png: the contact sheet of
# the sample's sprites, as `tessarine-cli export --sheet` writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages
tools/windows-libraries.sh x86_64

check=0
out=${1:-docs}
if [[ "$out" == --check ]]; then
  check=1
  out=build/screenshots/docs
fi
mkdir -p "$out"

cmake --preset native >/dev/null
cmake --build --preset native --target tessarine_sample tessarine-cli >/dev/null
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target tessarine probe >/dev/null
sample=$PWD/build/native/sample/vswap.wl6
probe=build/mingw64/tests/blackbox/probe.exe

sheets=$(mktemp -d)
build/native/cli/tessarine-cli export "$sample" "$sheets" --sheet >/dev/null
cp "$sheets/sprites.png" "$out/sprites.png"
rm -rf "$sheets"
echo "contact sheet: $out/sprites.png"

start_virtual_display
trap 'kill "$TESSARINE_XVFB_PID" 2>/dev/null' EXIT
start_wine || true # a wine server may run already

# The main window is 619 x 483 and centred: on a desktop of that size it
# fills it exactly. The probe joins the same desktop to see the window.
desktop=/desktop=TessarineScreenshot,619x483
# On a busy machine a Wine process now and then never runs: the probe gets
# a time limit and is asked again.
on_desktop() { timeout -k 2 15 wine explorer "$desktop" "$@" 2>/dev/null | tr -d '\r'; }
viewer=""
# The viewer's start makes the desktop; a probe that came first would make
# it instead, and take it down, viewer and all, when it ends.
start_viewer() {
  local _
  wine explorer "$desktop" build/mingw64/app/tessarine.exe "Z:${sample//\//\\}" >/dev/null 2>&1 &
  viewer=$!
  for _ in $(seq 100); do
    xdotool search --name '^TessarineScreenshot - Wine desktop$' >/dev/null 2>&1 && return 0
    sleep 0.2
  done
}
close_viewer() {
  local _
  for _ in $(seq 30); do
    kill -0 "$viewer" 2>/dev/null || return 0
    on_desktop "$probe" close >/dev/null
    sleep 0.5
  done
  kill "$viewer" 2>/dev/null
}
trap 'close_viewer; kill "$TESSARINE_XVFB_PID" 2>/dev/null' EXIT

# wait_for PATTERN: until a line of what the viewer shows matches.
wait_for() {
  local _
  for _ in $(seq 150); do
    on_desktop "$probe" view | grep -qE -- "$1" && return 0
    kill -0 "$viewer" 2>/dev/null || break
    sleep 0.2
  done
  echo "screenshots: the viewer never showed /$1/" >&2
  return 1
}
# Wine has now and then ended a first start before its window showed; one
# more start tells that apart from a viewer that never shows the file.
# The sample's tree: its 545 chunks, the file node and the three sections.
start_viewer
wait_for '^tree 549$' 2>/dev/null || {
  close_viewer
  start_viewer
  wait_for '^tree 549$'
}

# The number of the sprite that the info panel shows, if any. The probe
# always prints; when it prints nothing it did not run, and is asked again.
shown_sprite() {
  local view _
  for _ in 1 2 3; do
    view=$(on_desktop "$probe" view)
    [[ -n "$view" ]] && break
  done
  sed -n 's/^label 1 .* Спрайт \([0-9]*\)$/\1/p' <<<"$view"
}
# The same once the viewer has worked off the keys sent: two looks agree.
settled_sprite() {
  local last=x now _
  for _ in $(seq 30); do
    sleep 0.3
    now=$(shown_sprite)
    [[ "$now" == "$last" ]] && break
    last=$now
  done
  printf '%s' "$now"
}
# select_sprite N: arrow keys until sprite N shows. A busy machine may drop
# a key press, so it looks again once the keys are worked off, and presses
# what is missing.
select_sprite() {
  local _ now
  for _ in $(seq 10); do
    now=$(settled_sprite)
    if [[ -z "$now" ]]; then
      # A click on the file node gives the tree the keyboard; then down to
      # the first sprite.
      xdotool mousemove 45 121 click 1
      sleep 0.3
      xdotool key Home Right Down Down Right Right
    elif [[ $now -lt $1 ]]; then
      xdotool key --delay 20 --repeat $(($1 - now)) Down
    elif [[ $now -gt $1 ]]; then
      xdotool key --delay 20 --repeat $((now - $1)) Up
    else
      return 0
    fi
  done
  echo "screenshots: sprite $1 could not be selected" >&2
  return 1
}
# Sprite 87, a suit of armour, reached from below, so that it shows amid its
# neighbours.
select_sprite 96
select_sprite 87

# Zoom 4: 60 pixels up from the press at 0.05 per pixel.
xdotool mousemove 420 390 mousedown 1
for y in $(seq 385 -5 330); do
  xdotool mousemove 420 "$y"
  sleep 0.05
done
xdotool mouseup 1
xdotool mousemove 618 482 # on the frame, over nothing that shows a tip

# Wine paints on its own time: the picture is taken when two in a row agree.
shot=$out/viewer.png
last=""
for _ in $(seq 20); do
  sleep 0.5
  import -window root -crop 619x483+0+0 +repage -strip "$shot.new.png"
  [[ -n "$last" ]] && cmp -s "$last" "$shot.new.png" && break
  mv "$shot.new.png" "$shot.last.png"
  last=$shot.last.png
done
mv "$shot.new.png" "$shot"
rm -f "$shot.last.png"
echo "screenshot: $shot"
close_viewer
trap 'kill "$TESSARINE_XVFB_PID" 2>/dev/null' EXIT

[[ $check -eq 1 ]] || exit 0

# same PICTURE FUZZ LIMIT: the committed picture and the new one are of one
# size and differ in at most LIMIT pixels by more than FUZZ.
passed=0
failed=0
same() {
  local old=docs/$1 new=$out/$1 differing
  if [[ "$(identify -format %wx%h "$old")" != "$(identify -format %wx%h "$new")" ]]; then
    echo "FAIL: $old is $(identify -format %wx%h "$old"), drawn anew $(identify -format %wx%h "$new")"
    failed=$((failed + 1))
    return
  fi
  differing=$(compare -metric AE -fuzz "$2" "$old" "$new" null: 2>&1 || true)
  if [[ ! "$differing" =~ ^[0-9]+$ || $differing -gt $3 ]]; then
    echo "FAIL: $old and $new differ in $differing pixels (at most $3); run tools/screenshots.sh"
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + 1))
}
# The viewer's picture comes through Wine's fonts and drawing: another build
# of either may move a few glyphs' edge pixels or round a colour, so 500
# pixels (0.17 %, some 20 glyphs) may differ by more than 10 %. Another
# sprite, zoom or layout changes thousands.
same viewer.png 10% 500
# The sheet is the project's own PNG writer's work, with no fonts or Wine
# in the way: every pixel must match.
same sprites.png 0 0
echo "pictures: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
