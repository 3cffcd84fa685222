#!/bin/bash
# Black-box checks of tessarine-cli: cli_test.sh CLI WRITER
# What the code below the command line computes (pictures, sounds, texts,
# pack's layout) is tested natively in tests/unit; here each command runs end
# to end, with what only the command line has: arguments, exit codes,
# messages on stderr, and which files are written or left alone.
set -u
cli=$1
writer=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$writer" "$dir" || { echo "cannot write test files"; exit 1; }
game="$dir/game.wl6"

source "$(dirname "$0")/../support/checks.sh"

# full.wl6: chunk i holds i % 7 + 1 bytes, so the sections hold 421, 1738
# and 488 bytes.
check "info of a full-size file: the viewer's facts, then the game's" "Wolf3D Grafic File|File Size: $(
  stat -c %s "$dir/full.wl6")|Elements: 663|Texture Section|Size: 421|Elements: 106|Sprite Section|Size: 1738|\
Elements: 435|Unknow Section|Size: 488|Elements: 122|As the game reads it" \
  "$("$cli" info "$dir/full.wl6" 2>/dev/null | sed -n '1,/^As the game/p' | paste -sd'|')"

# The game's sections from the header words: a file shaped like the Spear
# of Destiny demo, with a third of its chunks absent, and padding.
check "info says how the game reads the file" "As the game reads it|Sections: from the header words 666, 134, 555|\
Textures: 134 (45 absent)|Sprites: 421 (140 absent)|Sound pages: 110 (37 absent)|\
Sound table: chunk 665, 110 sounds (37 absent)|Layout: 512-aligned|After the last chunk: 72 bytes, zeros up to a \
multiple of 512" "$("$cli" info "$dir/demo.wl6" | sed -n '/^As the game/,$p' | paste -sd'|')"

check "list: one line per chunk, numbered within its section" "105 Текстура 106 1|106 Спрайт 1 2|662 Не известен 122 5|663" \
  "$("$cli" list "$dir/full.wl6" | sed -n '106p;107p;663p;$=' | paste -sd'|')"

missing=$("$cli" info "$dir/missing.wl6" 2>"$dir/err")
check "a missing file is an empty table, exit 0, and reported" "0 File Size: 0 Elements: 0 1" \
  "$? $(sed -n 2,3p <<<"$missing" | xargs) $(grep -c "cannot open" "$dir/err")"

# A pipe in the page file's place is refused by type for every command,
# unread: no one writes to it, and it would otherwise hold the tool up for
# ever. What else is refused by type is tested natively (streams_test.cpp).
mkfifo "$dir/fifo.wl6"
exits=""
for command in info list show sounds export pack; do
  case $command in
    show) args=(show "$dir/fifo.wl6" 0) ;;
    export) args=(export "$dir/fifo.wl6" "$dir/special-out") ;;
    pack) args=(pack "$dir" "$dir/special.wl6" --base "$dir/fifo.wl6") ;;
    *) args=("$command" "$dir/fifo.wl6") ;;
  esac
  timeout 10 "$cli" "${args[@]}" >/dev/null 2>"$dir/err"
  exits+="$? $(grep -cF "'$dir/fifo.wl6': it is a pipe (FIFO), not a file" "$dir/err"), "
done
check "a pipe as the page file is refused by type, unread and without waiting, and nothing is written" \
  "0 1, 0 1, 2 1, 1 1, 1 1, 1 1, no no" "$exits$(exists "$dir/special-out") $(exists "$dir/special.wl6")"

# Wrong use: exit 2, and nothing written.
exits=""
for args in "frobnicate $game" list "" "export $game" "export $game $dir/x --gif" "export $game $dir/x --png --framed" \
  "pack $dir $dir/x.wl6" "palette $dir/wolf.png"; do
  "$cli" $args 2>>"$dir/usage"
  exits+="$? "
done
check "wrong use fails, nothing is written, and an unknown command or format is explained" \
  "2 2 2 2 2 2 2 2 |no no no|1 1" "$exits|$(exists "$dir/x") $(exists "$dir/x.wl6") $(exists "$dir/wolf.png")|$(
    grep -c "unknown command" "$dir/usage") $(grep -c "wolf.png.*\.gpl" "$dir/usage")"
check "help" 0 "$("$cli" --help | grep -q '^Usage: tessarine-cli' ; echo $?)"

# A hostile directory must not cost memory out of proportion to the file.
/usr/bin/time -v "$cli" info "$dir/hostile.wl6" >"$dir/out" 2>"$dir/time"
rss=$(awk -F: '/Maximum resident set size/ {print $2 + 0}' "$dir/time")
check "a hostile file is counted in less than 64 MiB" "Elements: 64994 1" \
  "$(grep -m1 '^Elements: 64994' "$dir/out") $(( rss < 65536 ))"

# show: the info panel's lines for one element.
check "show a sprite" "Спрайт 1|Sprite Element|Num: 1|Size: $("$cli" list "$game" | sed -n 107p | cut -d' ' -f4)|\
Width: 21|Height: 64|Colors: 3 (2 bit)" "$("$cli" show "$game" 106 | paste -sd'|')"
for bad in 550 -1 abc 99999999999 ""; do
  "$cli" show "$game" "$bad" >"$dir/out" 2>"$dir/err"
  check "show of chunk '$bad' fails and is explained" "2 1 0" \
    "$? $(grep -c "no chunk" "$dir/err") $(wc -c <"$dir/out")"
done

# export: the decoder's BMP images, named by section and number (sprite 1
# is 21 columns wide).
"$cli" export "$game" "$dir/bmp" >"$dir/out"
check "export writes every picture under its name" \
  "0 541 files written to $dir/bmp|541 sprite-001.bmp sprite-435.bmp texture-001.bmp texture-106.bmp|21" \
  "$? $(cat "$dir/out")|$(ls "$dir/bmp" | wc -l) $(ls "$dir/bmp" | sed -n '1p;435p;436p;$p' | xargs)|$(
    identify -format %w "$dir/bmp/sprite-001.bmp")"

# --png: the same pictures as palettised PNG files.
"$cli" export "$game" "$dir/png" --png >/dev/null
check "png export: every picture, 8-bit palettised, with the BMP's pixels" "0 541|8 3 0|8 3 0" "$? $(
  ls "$dir/png"/*.png | wc -l)$(for name in texture-001 sprite-001; do
    echo -n "|$(od -An -tu1 -j 24 -N2 "$dir/png/$name.png" | xargs) $(
      compare -metric AE "$dir/bmp/$name.bmp" "$dir/png/$name.png" null: 2>&1)"
  done)"
"$cli" export "$dir/full.wl6" "$dir/png0" --png >"$dir/out" 2>"$dir/err"
check "zero-width pictures are no PNG files, and the exit says so" "1 187 354 354" \
  "$? $(grep -c "sprite-...\.png not written" "$dir/err") $(ls "$dir/png0" | wc -l) $(cut -d' ' -f1 "$dir/out")"

# --framed: 64 x 64 palettised PNG files with transparent holes; --sheet:
# a contact sheet per section.
"$cli" export "$game" "$dir/framed" --framed --sheet >"$dir/out" 2>"$dir/err"
check "framed export with sheets" "0 543 files written to $dir/framed|64x64|1054x460 1054x1846" \
  "$? $(cat "$dir/out" "$dir/err")|$(identify -format %wx%h "$dir/framed/sprite-001.png")|$(
    identify -format '%wx%h ' "$dir/framed/textures.png" "$dir/framed/sprites.png" | xargs)"
"$cli" export "$dir/full.wl6" "$dir/framed0" --framed >"$dir/out" 2>"$dir/err"
check "zero-width sprites are written as empty frames; header words of 0 give the viewer's split, and a note" \
  "0 541|tessarine-cli: $dir/full.wl6: the header's first sprite chunk 0 and first sound chunk 0 include a 0; \
the sections follow the viewer's split instead" "$? $(ls "$dir/framed0" | wc -l)|$(cat "$dir/err")"

# Absent chunks get no file, and are counted; a sheet keeps their cells.
"$cli" export "$dir/demo.wl6" "$dir/demo" --framed --sheet --sounds >"$dir/out" 2>"$dir/err"
check "export follows the file's sections and leaves its absent chunks out" \
  "0 $((89 + 281 + 2 + 73)) files written to $dir/demo|absent from the file, so not written: 45 textures, 140 sprites|0|89 281 73|sprite-421.png texture-133.png|1054x592" \
  "$? $(paste -sd'|' "$dir/out")|$(wc -c <"$dir/err")|$(ls "$dir/demo" | grep -c texture-) $(
    ls "$dir/demo" | grep -c sprite-) $(ls "$dir/demo" | grep -c sound-)|$(
    ls "$dir/demo" | grep -E '^(texture-13[34]|sprite-421)' | xargs)|$(identify -format %wx%h "$dir/demo/textures.png")"
"$cli" sounds "$dir/demo.wl6" >"$dir/out" 2>"$dir/err"
check "sounds lists absent sounds as absent, and exits 0" "0 110 37|002 556 1 1001 0.142 absent|0" \
  "$? $(wc -l <"$dir/out") $(grep -c ' absent$' "$dir/out")|$(sed -n 2p "$dir/out")|$(wc -c <"$dir/err")"
rm "$dir/demo/textures.png" "$dir/demo/sprites.png"
mkdir -p "$dir/packed"
"$cli" pack "$dir/demo" "$dir/packed/demo.wl6" --base "$dir/demo.wl6" >"$dir/out" 2>"$dir/err"
check "an unchanged export of a file with absent chunks packs back byte for byte" \
  "0 0|0 replaced, 443 unchanged, 666 chunks copied" \
  "$(cmp "$dir/demo.wl6" "$dir/packed/demo.wl6"; echo $?) $(wc -c <"$dir/err")|$(tail -1 "$dir/out" | cut -d, -f1-3)"
cp "$dir/demo/texture-001.png" "$dir/demo/texture-135.png"
"$cli" pack "$dir/demo" "$dir/packed/more.wl6" --base "$dir/demo.wl6" >"$dir/out" 2>"$dir/err"
check "a picture beyond its section is named, and nothing is written" \
  "1 no|tessarine-cli: texture-135.png: the base has no texture 135 (it has 134, from 1)" \
  "$? $(exists "$dir/packed/more.wl6")|$(head -1 "$dir/err")"
rm "$dir/demo/texture-135.png"

# A palette of one's own: read in any of the formats, for every export and
# for pack, and converted by palette, the format from the extension, back to
# the same bytes.
{
  printf 'JASC-PAL\r\n0100\r\n256\r\n'
  for i in $(seq 0 255); do printf '%d %d %d\r\n' $((255 - i)) "$i" $((i * 7 % 256)); done
} >"$dir/mod.pal"
"$cli" palette "$dir/mod.gpl" --palette "$dir/mod.pal" && "$cli" palette "$dir/mod.act" --palette "$dir/mod.gpl" &&
  "$cli" palette "$dir/back.pal" --palette "$dir/mod.act"
check "palette converts a palette of one's own" "0 GIMP Palette|255 0 0|  0 255 249|0" \
  "$? $(head -1 "$dir/mod.gpl")|$(od -An -tu1 -N3 "$dir/mod.act" | xargs)|$(sed -n 260p "$dir/mod.gpl" | cut -f1)|$(
    cmp "$dir/mod.pal" "$dir/back.pal"; echo $?)"
"$cli" export "$dir/demo.wl6" "$dir/modpng" --png --palette "$dir/mod.act" >/dev/null
check "export writes the pictures in the given palette" "$(od -An -tx1 -N768 "$dir/mod.act" | tr -d ' \n')" \
  "$(python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); at = d.index(b"PLTE") + 4
print(d[at:at + int.from_bytes(d[at - 8:at - 4], "big")].hex())' "$dir/modpng/texture-001.png")"
"$cli" export "$dir/demo.wl6" "$dir/modframed" --framed --palette "$dir/mod.pal" >/dev/null
"$cli" pack "$dir/modframed" "$dir/packed/mod.wl6" --base "$dir/demo.wl6" --palette "$dir/mod.pal" >/dev/null
check "pictures exported in a palette pack back in it" 0 "$(cmp "$dir/demo.wl6" "$dir/packed/mod.wl6"; echo $?)"
head -c 700 "$dir/mod.act" >"$dir/short.act"
"$cli" export "$dir/demo.wl6" "$dir/nopal" --palette "$dir/short.act" 2>"$dir/err"
check "a palette that cannot be read is refused, naming it, before anything is written" "1 no 1" \
  "$? $(exists "$dir/nopal") $(grep -c "'$dir/short.act': it is not a palette" "$dir/err")"
rm -r "$dir/packed"

# A folder that cannot be made, a file that cannot be written: the exit says
# so, and nothing is reported as done.
"$cli" export "$dir/missing.wl6" "$dir/none" --framed >"$dir/out" 2>"$dir/err"
check "a file without pictures says so" "1 0 1 no" \
  "$? $(wc -c <"$dir/out") $(grep -c "holds no texture or sprite" "$dir/err") $(exists "$dir/none")"
touch "$dir/plain"
"$cli" export "$game" "$dir/plain/sub" >"$dir/out" 2>"$dir/err"
check "uncreatable folder fails and is explained" "1 0 1" \
  "$? $(wc -c <"$dir/out") $(grep -c "cannot create '$dir/plain/sub'" "$dir/err")"
mkdir -p "$dir/blocked/sprite-001.bmp"
"$cli" export "$game" "$dir/blocked" >"$dir/out" 2>"$dir/err"
check "unwritable file fails, is explained, and leaves no temporary file" "1 0 1 0" \
  "$? $(wc -c <"$dir/out") $(grep -c "cannot write '$dir/blocked/sprite-001.bmp': .*; 106 files" "$dir/err") \
$(ls -A "$dir/blocked" | grep -c tmp)"

"$cli" palette "$dir/plain/wolf.gpl" 2>"$dir/err"
check "unwritable palette file fails" "1 1" "$? $(grep -c "cannot create" "$dir/err")"

# sounds: the table listed, its bad entries reported (a missing table is
# one more problem, soundtable_test.cpp's); export --sounds writes the good
# sounds as WAV files.
"$cli" sounds "$game" >"$dir/out" 2>"$dir/err"
check "sounds lists the good sounds and exits 1 for the bad one" "1 5|005 546 3 10000 1.420|1" \
  "$? $(wc -l <"$dir/out")|$(tail -1 "$dir/out")|$(grep -cF "tessarine-cli: $game: sound 006 starts at page 300" "$dir/err")"
# A page file cut short is damaged, not a file of fewer sounds and black
# pictures: each command says which chunks lie past its end, and exits 1;
# export writes what the file holds.
head -c 100000 "$game" >"$dir/cut.wl6"
"$cli" sounds "$dir/cut.wl6" >/dev/null 2>"$dir/err"
check "sounds on a cut file exits 1 and names the damage" "1 1" \
  "$? $(grep -c "cut.wl6: 527 chunks (23, 24, .*) lie wholly or partly past the end of the file" "$dir/err")"
"$cli" export "$dir/cut.wl6" "$dir/cut" --framed >"$dir/out" 2>"$dir/err"
check "export of a cut file writes what it holds and exits 1" \
  "1 24 files written to $dir/cut|past the end of the file, so not written: 82 textures, 435 sprites|1" \
  "$? $(paste -sd'|' "$dir/out")|$(grep -c "the file is damaged (above); what it holds was written" "$dir/err")"
"$cli" export "$game" "$dir/snd" --sounds >"$dir/out" 2>"$dir/err"
check "sound export writes the good sounds and exits 1 for the bad" "1 546 5" \
  "$? $(cut -d' ' -f1 "$dir/out") $(ls "$dir/snd"/sound-*.wav | wc -l)"

# pack: pictures from the exports, some where they do not belong, and one
# with a colour not in the palette.
mkdir -p "$dir/pics/good" "$dir/pics/bad" "$dir/pics/nearest" "$dir/pics/none" "$dir/packed"
cp "$dir/bmp/texture-001.bmp" "$dir/pics/good/"
cp "$dir/framed/sprite-001.png" "$dir/pics/good/sprite-002.png"
convert "$dir/framed/texture-004.png" -fill '#010203' -draw 'color 7,0 point' "PNG24:$dir/pics/nearest/texture-004.png"
cp "$dir/pics/nearest/texture-004.png" "$dir/bmp/sprite-001.bmp" "$dir/pics/bad/"
cp "$dir/framed/sprite-001.png" "$dir/pics/bad/texture-003.png"  # a texture with holes
cp "$dir/framed/texture-001.png" "$dir/pics/bad/sprite-004.png"  # a sprite too large for a page
truncate -s 17M "$dir/pics/bad/texture-005.png"  # no picture is that large: not read
base_sum=$(md5sum <"$game")
"$cli" pack "$dir/pics/good" "$dir/packed/new.wl6" --base "$game" >"$dir/out" 2>"$dir/err"
check "pack exits 0, reports each element and a summary, and leaves only its output" "0 0 new.wl6
sprite 2 (chunk 107) from sprite-002.png, $("$cli" list "$game" | sed -n 107p | cut -d' ' -f4) bytes
1 replaced, 1 unchanged, 549 chunks copied, $(stat -c %s "$dir/packed/new.wl6") bytes written to $dir/packed/new.wl6" \
  "$? $(wc -c <"$dir/err") $(ls -A "$dir/packed")
$(cat "$dir/out")"
check "the packed sprite 2 is sprite 1" "$("$cli" show "$game" 106 | tail -4)" \
  "$("$cli" show "$dir/packed/new.wl6" 107 | tail -4)"
"$cli" pack "$dir/pics/nearest" "$dir/packed/near.wl6" --base "$game" --nearest >"$dir/out"
check "pack --nearest counts the moved pixels" \
  "0 texture 4 (chunk 3) from texture-004.png, 4096 bytes, 1 pixels moved to the nearest palette colour" \
  "$? $(head -1 "$dir/out")"

refused() {  # refused NAME EXPECTED_ERROR_LINES OUT DIR
  local before
  before=$(ls -A "$(dirname "$3")" | xargs)
  # A pipe among the pictures must not hold pack up.
  timeout 10 "$cli" pack "$4" "$3" --base "$game" >"$dir/out" 2>"$dir/err"
  check "$1: exit 1 and nothing on stdout; every problem reported; the base unchanged; nothing left behind" \
    "1 0|$2|$base_sum|$before" "$? $(wc -c <"$dir/out")|$(grep -vc 'nothing written' "$dir/err")|$(
      md5sum <"$game")|$(ls -A "$(dirname "$3")" | xargs)"
}
ln -s game.wl6 "$dir/link.wl6"
for base in "$game" "$dir/bmp/../game.wl6" "$dir/link.wl6"; do
  refused "pack onto the base as $base" 1 "$base" "$dir/pics/good"
  check "pack onto the base as $base is explained" 1 "$(grep -c "is the base file" "$dir/err")"
done
refused "bad pictures" 5 "$dir/packed/bad.wl6" "$dir/pics/bad"
check "pack's own refusals are explained" "1 1 1 1" "$(
  grep -c "texture-005.png: the file has 17825792 bytes, too many for a 64 x 64 picture" "$dir/err") $(
  grep -c "texture-003.png: pixel .* is transparent: a texture has no holes" "$dir/err") $(
  grep -c "sprite-004.png: the sprite takes 4740 bytes, more than the 4096 of a page" "$dir/err") $(
  grep -c "sprite-001.bmp: .*export with --framed" "$dir/err")"
refused "an unwritable folder" 1 "$dir/plain/new.wl6" "$dir/pics/good"
mkdir "$dir/pics/special"
mkfifo "$dir/pics/special/texture-001.png" "$dir/pics/special/sound-001.wav"
ln -s /dev/zero "$dir/pics/special/texture-002.bmp"
refused "pictures and a sound that are no files" 3 "$dir/packed/special.wl6" "$dir/pics/special"
check "pack's pictures and sounds that are no files are refused by type" "1 1 1" \
  "$(grep -c "texture-001.png: cannot open '$dir/pics/special/texture-001.png': it is a pipe (FIFO), not a file" \
  "$dir/err") $(grep -c "texture-002.bmp: cannot open '.*': it is a device, not a file" "$dir/err") $(
  grep -c "sound-001.wav: cannot open '.*': it is a pipe (FIFO), not a file" "$dir/err")"

"$cli" pack "$game" "$dir/packed/x.wl6" --base "$game" 2>"$dir/err"
check "pack of a file in the folder's place fails, saying so" "1 no 1" \
  "$? $(exists "$dir/packed/x.wl6") $(grep -c "'$game' is not a folder" "$dir/err")"
check "pack --help says how nearest is measured and what a blank sprite becomes" 2 \
  "$("$cli" pack --help | grep -cE 'squared red, green and blue|column 32 alone')"

# The modder's loop unchanged: the pictures exported in the frame, with the
# sounds, or the textures exported as --png, pack back to the same file.
cp "$dir/snd"/sound-*.wav "$dir/framed/"
"$cli" pack "$dir/framed" "$dir/packed/loop.wl6" --base "$game" >"$dir/out"
check "a framed export and its sounds pack back byte for byte" "0 0 replaced, 546 unchanged" \
  "$(cmp "$game" "$dir/packed/loop.wl6"; echo $?) $(tail -1 "$dir/out" | cut -d, -f1-2)"
mkdir "$dir/textures"
cp "$dir/png"/texture-* "$dir/textures/"
"$cli" pack "$dir/textures" "$dir/packed/loop.wl6" --base "$game" >"$dir/out"
check "textures exported as PNG pack back byte for byte" "0 0 replaced, 106 unchanged" \
  "$(cmp "$game" "$dir/packed/loop.wl6"; echo $?) $(tail -1 "$dir/out" | cut -d, -f1-2)"

# The same pictures as image editors save them: in 16-bit RGBA, with the
# gamma chunks ImageMagick adds; textures in 8-bit RGB, sprites in RGBA.
# Colours the palette holds twice keep the base's indices, so they pack back
# byte for byte, and one edited pixel changes one byte.
rm "$dir/framed"/*.wav "$dir/framed/textures.png" "$dir/framed/sprites.png"
mkdir "$dir/rgba16" "$dir/rgb8"
mogrify -path "$dir/rgba16" -define png:format=png64 "$dir/framed"/*.png
mogrify -path "$dir/rgb8" -define png:format=png24 "$dir/framed"/texture-*.png
mogrify -path "$dir/rgb8" -define png:format=png32 "$dir/framed"/sprite-*.png
check "the editors' copies are 16-bit RGBA, 8-bit RGB and 8-bit RGBA" "16 6|8 2|8 6" \
  "$(od -An -tu1 -j 24 -N2 "$dir/rgba16/sprite-001.png" | xargs)|$(
    od -An -tu1 -j 24 -N2 "$dir/rgb8/texture-001.png" | xargs)|$(od -An -tu1 -j 24 -N2 "$dir/rgb8/sprite-001.png" | xargs)"
for copy in rgba16 rgb8; do
  for nearest in "" --nearest; do
    "$cli" pack "$dir/$copy" "$dir/packed/$copy.wl6" --base "$game" $nearest >"$dir/out" 2>"$dir/err"
    check "$copy copies of an unchanged export pack back byte for byte ${nearest:-without --nearest}" \
      "0 0 replaced, 541 unchanged" "$(cmp "$game" "$dir/packed/$copy.wl6"; echo $?) $(tail -1 "$dir/out" | cut -d, -f1-2)"
  done
done
"$cli" palette "$dir/wolf.gpl"
convert "$dir/rgb8/texture-002.png" -fill "#$(sed -n 6p "$dir/wolf.gpl" | awk '{printf "%02x%02x%02x", $1, $2, $3}')" \
  -draw 'color 3,4 point' -define png:format=png24 "$dir/rgb8/texture-002.png"
"$cli" pack "$dir/rgb8" "$dir/packed/edited.wl6" --base "$game" >/dev/null
check "one pixel edited in an RGB copy changes one byte" 1 "$(cmp -l "$game" "$dir/packed/edited.wl6" | wc -l)"

# pack killed at random moments: the folder holds the whole new file or
# none, never part of one nor a temporary file, whether the run was making
# the file or replacing it.
mkdir "$dir/killed"
start=$(date +%s%N)
"$cli" pack "$dir/pics/none" "$dir/packed/large.wl6" --base "$dir/large.wl6" >/dev/null
took=$(( ($(date +%s%N) - start) / 1000 ))
bad=""
for run in $(seq 24); do
  (( run % 2 )) && rm -f "$dir/killed/new.wl6"
  "$cli" pack "$dir/pics/none" "$dir/killed/new.wl6" --base "$dir/large.wl6" >/dev/null &
  sleep "$(awk -v t="$took" -v r="$RANDOM" 'BEGIN { printf "%.6f", t * r / 32768 / 1e6 }')"
  kill -KILL $! 2>/dev/null
  wait $! 2>/dev/null
  names=$(ls -A "$dir/killed" | xargs)
  [[ -z $names || ( $names == new.wl6 && $(cmp "$dir/killed/new.wl6" "$dir/packed/large.wl6"; echo $?) == 0 ) ]] ||
    bad+="run $run: $names; "
done
check "a killed pack leaves the whole file or none, and nothing else" "" "$bad"

# A base cut inside its tables: the entries it lacks are empty chunks.
head -c 2000 "$game" >"$dir/packed/cut.wl6"
"$cli" pack "$dir/pics/none" "$dir/packed/uncut.wl6" --base "$dir/packed/cut.wl6" >/dev/null 2>"$dir/err"
check "a base cut inside its tables packs with a warning and keeps its chunk count" "0 1 550" \
  "$? $(grep -c "warning: the base's tables end past" "$dir/err") $("$cli" list "$dir/packed/uncut.wl6" | wc -l)"

# A table of 4 GiB of chunks beyond the file's end would give a file of
# zeros the base does not hold: refused before its bytes are allocated.
/usr/bin/time -f %M "$cli" pack "$dir/pics/none" "$dir/packed/hostile.wl6" --base "$dir/hostile.wl6" \
  >/dev/null 2>"$dir/err"
check "a base of 4 GiB of chunks is refused without its bytes in memory" "1 no 1 1" \
  "$? $(exists "$dir/packed/hostile.wl6") $(grep -c "too damaged to pack" "$dir/err") $(( $(tail -1 "$dir/err") < 65536 ))"

echo "cli checks: ${rss} KiB peak for the hostile file"
finish "cli checks"
