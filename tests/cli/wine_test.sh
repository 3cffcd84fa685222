#!/bin/bash
# The Windows tool under Wine beside the native one:
#   wine_test.sh WINDOWS_CLI NATIVE_CLI WRITER
# The same input gives the same bytes on both platforms, so that a user can
# move between them and diff the results: every export mode, the palettes,
# the sounds, and pack (an unchanged round trip, and one with a replaced
# 44.1 kHz stereo sound), with the same texts and exit codes. Then what only
# Windows has: paths outside the ANSI code page, a read-only folder, and the
# base named through another spelling.
set -u
source "$(dirname "$0")/../support/checks.sh"
win=$(realpath "$1")
native=$(realpath "$2")
writer=$(realpath "$3")
export LC_ALL=C.UTF-8 # Cyrillic paths cross between Linux and Wine as UTF-8
dir=$(mktemp -d)
trap 'chattr -i "$dir/locked" 2>/dev/null; rm -rf "$dir"' EXIT
"$writer" "$dir" || {
  echo "cannot write test files"
  exit 1
}
cd "$dir" || exit 1
# The tool's own messages on stderr, without the lines Wine adds there.
messages() { tr -d '\r' <"$1" | grep '^tessarine-cli'; }
# wcli ARGS...: the Windows tool, its line ends made Linux's, its messages in
# werr.txt. Paths are given relative to the test folder, which Wine reaches
# through its Z: drive.
wcli() {
  wine "$win" "$@" 2>"$dir/werr" | tr -d '\r'
  local status=${PIPESTATUS[0]}
  messages "$dir/werr" >"$dir/werr.txt"
  return "$status"
}
ncli() { "$native" "$@" 2>"$dir/nerr"; }
# same NAME ARGS...: both tools run with ARGS, in folders n/ and w/ (ARGS
# name OUT for the folder), give the same output, messages, exit code and
# files, byte for byte.
same() {
  local name=$1
  shift
  rm -rf n w
  mkdir n w
  (cd n && "$native" "${@//OUT/.}" >../nout 2>../nerr)
  local nstatus=$?
  (cd w && wine "$win" "${@//OUT/.}" >../wout 2>../werr)
  local wstatus=$?
  check "$name: output, messages and exit code" "$nstatus $(cat nout; messages nerr)" \
    "$wstatus $(tr -d '\r' <wout; messages werr)"
  check "$name: the same files, and some" "" "$(diff -r n w 2>&1; [[ -n "$(ls n)" ]] || echo none written)"
}

# --- Every export mode, the palettes and the sounds ----------------------------

game=../game.wl6
# The sheets are the same whatever the pictures' format.
same "export as BMP --sheet" export "$game" OUT --sheet
same "export --png" export "$game" OUT --png
same "export --framed --sheet --sounds" export "$game" OUT --framed --sheet --sounds
same "export of zero-width sprites --png" export ../full.wl6 OUT --png
for format in gpl pal act; do
  same "palette .$format" palette OUT/wolf.$format
done
for args in "info game.wl6" "list game.wl6" "sounds game.wl6" "show game.wl6 106" --help "pack --help"; do
  check "$args: the same text" "$(ncli $args)" "$(wcli $args)"
done

# --- pack ----------------------------------------------------------------------

# The framed pictures and the sounds, exported and packed back unchanged.
mkdir loop
ncli export game.wl6 loop --framed --sounds >/dev/null
# That it gives back the base is cli_test's.
same "pack of an unchanged export" pack ../loop OUT/new.wl6 --base "$game"

# Sound 2 replaced by a 44.1 kHz stereo 16-bit sound: mixed, resampled and
# quantised the same way on both platforms.
python3 - loop/sound-002.wav <<'EOF'
import math, struct, sys, wave
tone = lambda hz, i, phase=0: math.sin(2 * math.pi * hz * i / 44100 + phase)
with wave.open(sys.argv[1], "wb") as w:
    w.setparams((2, 2, 44100, 0, "NONE", None))
    w.writeframes(b"".join(struct.pack("<hh", round(32767 * (0.6 * tone(440, i) + 0.3 * tone(3001, i))),
                                       round(32767 * 0.5 * tone(660, i, 1) * math.exp(-i / 44100))) for i in range(66150)))
EOF
same "pack with a 44.1 kHz stereo sound" pack ../loop OUT/new.wl6 --base "$game"
check "the stereo sound is in the packed file: 1.5 s at 7042 Hz" "002 542 3 10563 1.500" \
  "$(ncli sounds n/new.wl6 | sed -n 2p)"

# --- What only Windows has -----------------------------------------------------

# Paths outside the ANSI code page, for the input, the outputs and pack's
# folder.
mkdir -p "Карты"
cp game.wl6 "Карты/игра.wl6"
wcli export "Карты/игра.wl6" "Картинки" --framed --sounds >/dev/null
# Exit 1: the file's sixth sound lies past its pages, as the native tool says too.
check "a Cyrillic input and output folder" "1 546" "$? $(ls Картинки | wc -l)"
wcli pack "Картинки" "Карты/новая.wl6" --base "Карты/игра.wl6" >/dev/null
check "pack with Cyrillic paths gives back the base" "0 " "$? $(cmp game.wl6 "Карты/новая.wl6" 2>&1)"

# A folder no file can be made in: nothing is written, nothing is left, the
# exit says so (a failed write is tested natively in files_test.cpp, under
# Wine too). Root writes past a folder's permissions, but not into an
# immutable folder.
mkdir locked
chmod a-w locked
[[ ! -w locked ]] || chattr +i locked
wcli export game.wl6 locked >/dev/null
check "export into a read-only folder fails and says so" "1 1 0" \
  "$? $(grep -c "cannot" werr.txt) $(ls -A locked | wc -l)"
chattr -i locked 2>/dev/null
chmod u+w locked

# The base named through another spelling: refused, and the base unchanged.
mkdir -p "base folder"
cp game.wl6 "base folder/the game file.wl6"
sum=$(md5sum <game.wl6)
# short NAME: the 8.3 name Wine gives NAME in the current folder.
short() { wine cmd /c dir /x 2>/dev/null | tr -d '\r' | sed -n "s/.* \([^ ]*~[^ ]*\) *$1\$/\1/p"; }
short=$(short "base folder")/$(cd "base folder" && short "the game file.wl6")
check "Wine gives the base a short name" yes "$([[ "$short" == *~*/*~* ]] && echo yes || echo no)"
for spelling in "$short" "BASE FOLDER/THE GAME FILE.WL6" "base folder/the game file.wl6" \
  'base folder\.\the game file.wl6' "Z:$dir/base folder/the game file.wl6"; do
  wcli pack loop "$spelling" --base "base folder\\the game file.wl6" >/dev/null
  check "pack onto the base spelt '$spelling' is refused" "1 1 $sum" \
    "$? $(grep -c "is the base file" werr.txt) $(md5sum <"base folder/the game file.wl6")"
done
check "the refusals leave nothing behind" "the game file.wl6" "$(ls -A "base folder")"

finish "wine cli checks"
