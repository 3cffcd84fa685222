#!/bin/bash
# The program's includes follow its layers: layers_test.sh ROOT
# tools/check_layers.py passes on the tree, and fails on copies of it where a
# page-file source includes a command-line header, where the window layer
# reaches up into the viewer's panels, and where two modules of one folder
# include each other.
set -u
root=$1
checker=$root/tools/check_layers.py
source "$(dirname "$0")/../support/checks.sh"

python3 "$checker" "$root" && pass || fail "the tree breaks its layers"

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
# A fresh copy of the layers' folders with one line added to a file; the
# checker must name that file and what it includes.
faulted() {  # faulted FILE LINE EXPECTED
  rm -rf "${copy:?}"/*
  for sources in "$root"/*/sources.cmake; do
    cp -r "$(dirname "$sources")" "$copy/"
  done
  echo "$2" >>"$copy/$1"
  local out
  if out=$(python3 "$checker" "$copy"); then
    fail "$1 with '$2' passed"
  elif grep -qF "$3" <<<"$out"; then
    pass
  else
    fail "$1 with '$2' is not named: $out"
  fi
}
faulted pagefile/wlfile.cpp '#include "cli/pack.h"' "pagefile/wlfile.cpp includes cli/pack.h: pagefile does not build on cli"
faulted winlayer/label_win.cpp '#include "ui/viewer_win.h"' "winlayer/label_win.cpp includes ui/viewer_win.h"
faulted pagefile/soundtable.h '#include "pagefile/soundreplace.h"' \
  "circle: pagefile/soundtable -> pagefile/soundreplace -> pagefile/soundtable"

finish "layer checks"
