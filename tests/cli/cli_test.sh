#!/bin/bash
# Black-box checks of tessarine-cli: cli_test.sh CLI WRITER
set -u
cli=$1
writer=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$writer" "$dir" || { echo "cannot write test files"; exit 1; }

failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [[ "$2" != "$3" ]]; then
    echo "FAIL: $1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3")
    failures=$((failures + 1))
  fi
}

expected_info="Wolf3D Grafic File
File Size: $(stat -c %s "$dir/full.wl6")
Elements: 663
Texture Section
Size: $(python3 -c 'print(sum(i % 7 + 1 for i in range(0, 106)))')
Elements: 106
Sprite Section
Size: $(python3 -c 'print(sum(i % 7 + 1 for i in range(106, 541)))')
Elements: 435
Unknow Section
Size: $(python3 -c 'print(sum(i % 7 + 1 for i in range(541, 663)))')
Elements: 122"
check "info of a full-size file" "$expected_info" "$("$cli" info "$dir/full.wl6")"

list=$("$cli" list "$dir/full.wl6")
check "list has one line per chunk" 663 "$(wc -l <<<"$list")"
check "first texture" "0 Текстура 1 1" "$(sed -n 1p <<<"$list")"
check "last texture" "105 Текстура 106 1" "$(sed -n 106p <<<"$list")"
check "first sprite" "106 Спрайт 1 2" "$(sed -n 107p <<<"$list")"
check "last sprite" "540 Спрайт 435 2" "$(sed -n 541p <<<"$list")"
check "first unknown" "541 Не известен 1 3" "$(sed -n 542p <<<"$list")"
check "last unknown" "662 Не известен 122 5" "$(sed -n 663p <<<"$list")"

missing=$("$cli" info "$dir/missing.wl6" 2>"$dir/err")
check "a missing file exits 0" 0 $?
check "a missing file is an empty table" "Wolf3D Grafic File
File Size: 0
Elements: 0" "$(head -3 <<<"$missing")"
check "a missing file is reported" 1 "$(grep -c "cannot open" "$dir/err")"
check "a one-byte file has no chunks" "Elements: 0" "$("$cli" info "$dir/short.wl6" | sed -n 3p)"

"$cli" frobnicate "$dir/full.wl6" 2>"$dir/err"
check "unknown command fails" 2 $?
check "unknown command explained" 1 "$(grep -c "unknown command" "$dir/err")"
"$cli" list 2>/dev/null
check "missing argument fails" 2 $?
"$cli" 2>/dev/null
check "no command fails" 2 $?
check "help" 0 "$("$cli" --help | grep -q '^Usage: tessarine-cli' ; echo $?)"

# A hostile directory must not cost memory out of proportion to the file.
/usr/bin/time -v "$cli" info "$dir/hostile.wl6" >"$dir/out" 2>"$dir/time"
rss=$(awk -F: '/Maximum resident set size/ {print $2 + 0}' "$dir/time")
if (( rss >= 65536 )); then
  echo "FAIL: hostile file peak RSS ${rss} KiB"
  failures=$((failures + 1))
fi
check "hostile file counts" "Unknow Section
Size: $((65535 * (65535 - 541)))
Elements: 64994" "$(tail -3 "$dir/out")"

# show: the info panel's lines for one element.
check "show a texture" "Текстура 1
Texture Element
Num: 1
Size: 4096
Width: 64
Height: 64
Colors: 190 (8 bit)" "$("$cli" show "$dir/pictures.wl6" 0)"
check "show a sprite" "Спрайт 1
Sprite Element
Num: 1
Size: $("$cli" list "$dir/pictures.wl6" | sed -n 107p | cut -d' ' -f4)
Width: 21
Height: 64
Colors: 3 (2 bit)" "$("$cli" show "$dir/pictures.wl6" 106)"
check "show an unknown chunk" "Не известен 1
Unknow Element
Num: 1
Size: 3" "$("$cli" show "$dir/pictures.wl6" 541)"
check "show a chunk of length 0" "Width: 0
Height: 64
Colors: 0 (1 bit)" "$("$cli" show "$dir/full.wl6" 106 | tail -3)"
for bad in 542 -1 abc 99999999999 ""; do
  "$cli" show "$dir/pictures.wl6" "$bad" >"$dir/out" 2>"$dir/err"
  check "show of chunk '$bad' fails" 2 $?
  check "show of chunk '$bad' is explained" "1 0" "$(grep -c "no chunk" "$dir/err") $(wc -c <"$dir/out")"
done

# export: the decoder's BMP images, named by section and number.
le32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
palette="$(dirname "$0")/../../resources/palette.pal"
"$cli" export "$dir/pictures.wl6" "$dir/new/bmp" >"$dir/out"
check "export exits 0" 0 $?
check "export reports what it wrote" "541 files written to $dir/new/bmp" "$(cat "$dir/out")"
check "export names" "sprite-001.bmp sprite-435.bmp texture-001.bmp texture-106.bmp 541" \
  "$(cd "$dir/new/bmp" && ls texture-001.bmp texture-106.bmp sprite-001.bmp sprite-435.bmp | tr '\n' ' ')$(ls "$dir/new/bmp" | wc -l)"
for f in texture-001:64:5174 sprite-001:21:2614 sprite-002:1:1334; do
  IFS=: read -r name width size <<<"$f"
  bmp="$dir/new/bmp/$name.bmp"
  check "$name head" "BM $size $size 1078 40 $width 64" \
    "$(head -c 2 "$bmp") $(stat -c %s "$bmp") $(le32 "$bmp" 2) $(le32 "$bmp" 10) $(le32 "$bmp" 14) $(le32 "$bmp" 18) $(le32 "$bmp" 22)"
  check "$name palette" 0 "$(cmp -s <(tail -c +55 "$bmp" | head -c 1024) "$palette"; echo $?)"
done
check "texture rows" 0 "$(cmp -s <(tail -c +1079 "$dir/new/bmp/texture-001.bmp") "$dir/texture-001.rows"; echo $?)"
check "sprite rows" 0 "$(cmp -s <(tail -c +1079 "$dir/new/bmp/sprite-001.bmp") "$dir/sprite-001.rows"; echo $?)"
"$cli" export "$dir/full.wl6" "$dir/new/damaged" >/dev/null
check "damaged elements export too" "0 541 1078" \
  "$? $(ls "$dir/new/damaged" | wc -l) $(stat -c %s "$dir/new/damaged/sprite-001.bmp")"

# --png: the same pictures through libpng, palettised.
"$cli" export "$dir/pictures.wl6" "$dir/new/png" --png >/dev/null
check "png export exits 0" "0 541" "$? $(ls "$dir/new/png"/*.png | wc -l)"
for name in texture-001 sprite-001 sprite-435; do
  png="$dir/new/png/$name.png"
  check "$name.png is 8-bit palettised" "8 3" "$(od -An -tu1 -j 24 -N2 "$png" | xargs)"
  check "$name.png has the BMP's size" "$(identify -format '%w %h' "$dir/new/bmp/$name.bmp")" \
    "$(identify -format '%w %h' "$png")"
  check "$name.png has the BMP's pixels" 0 "$(compare -metric AE "$dir/new/bmp/$name.bmp" "$png" null: 2>&1)"
done
"$cli" export "$dir/full.wl6" "$dir/new/png0" --png >"$dir/out" 2>"$dir/err"
check "zero-width pictures are no PNG files, and the exit says so" "1 187 354 354" \
  "$? $(grep -c "sprite-...\.png not written" "$dir/err") $(ls "$dir/new/png0" | wc -l) $(cut -d' ' -f1 "$dir/out")"

# A folder that cannot be made, or a file that cannot be written.
touch "$dir/plain"
"$cli" export "$dir/pictures.wl6" "$dir/plain/sub" >"$dir/out" 2>"$dir/err"
check "uncreatable folder fails" "1 0" "$? $(wc -c <"$dir/out")"
check "uncreatable folder is explained" 1 "$(grep -c "cannot create '$dir/plain/sub'" "$dir/err")"
mkdir -p "$dir/blocked/sprite-001.bmp"
"$cli" export "$dir/pictures.wl6" "$dir/blocked" >"$dir/out" 2>"$dir/err"
check "unwritable file fails and reports nothing as done" "1 0" "$? $(wc -c <"$dir/out")"
check "unwritable file is explained" 1 "$(grep -c "cannot write '$dir/blocked/sprite-001.bmp': .*; 106 files" "$dir/err")"
check "unwritable file leaves no temporary file" 0 "$(ls -A "$dir/blocked" | grep -c tmp)"
"$cli" export "$dir/pictures.wl6" 2>/dev/null
check "export without a folder fails" 2 $?
"$cli" export "$dir/pictures.wl6" "$dir/x" --gif 2>/dev/null
check "export with an unknown option fails" "2 no" "$? $([[ -e "$dir/x" ]] && echo yes || echo no)"

# --framed: 64 x 64 palettised PNG files with transparent holes; --sheet:
# a contact sheet per section. The pixels themselves are the unit tests' job.
"$cli" export "$dir/pictures.wl6" "$dir/new/framed" --framed --sheet >"$dir/out" 2>"$dir/err"
check "framed export with sheets" "0 543 files written to $dir/new/framed" "$? $(cat "$dir/out" "$dir/err")"
check "framed pictures are 64 x 64, 8-bit palettised" "64 64 8 3|64 64 8 3" \
  "$(for f in texture-001 sprite-001; do echo -n "$(identify -format '%w %h' "$dir/new/framed/$f.png") $(od -An -tu1 -j 24 -N2 "$dir/new/framed/$f.png" | xargs)|"; done | sed 's/|$//')"
check "a framed texture has the BMP's pixels" 0 \
  "$(compare -metric AE "$dir/new/bmp/texture-001.bmp" "$dir/new/framed/texture-001.png" null: 2>&1)"
check "a framed sprite's holes are transparent" "$((64 * 64 - 21 * 16))" \
  "$(convert "$dir/new/framed/sprite-001.png" -alpha extract -format '%[fx:round(w*h*(1-mean))]' info:)"
check "sheets" "1054x460 1054x1846" \
  "$(identify -format '%wx%h ' "$dir/new/framed/textures.png" "$dir/new/framed/sprites.png" | xargs)"
"$cli" export "$dir/full.wl6" "$dir/new/framed0" --framed >"$dir/out" 2>"$dir/err"
check "zero-width sprites are transparent frames" "0 541 0 64x64 0" \
  "$? $(ls "$dir/new/framed0" | wc -l) $(wc -c <"$dir/err") $(identify -format '%wx%h' "$dir/new/framed0/sprite-001.png") \
$(convert "$dir/new/framed0/sprite-001.png" -alpha extract -format '%[max]' info:)"
"$cli" export "$dir/pictures.wl6" "$dir/plain/sub" --framed 2>"$dir/err"
check "framed export into an uncreatable folder fails" "1 1" "$? $(grep -c "cannot create" "$dir/err")"
"$cli" export "$dir/pictures.wl6" "$dir/x" --png --framed 2>/dev/null
check "--png and --framed together are refused" "2 no" "$? $([[ -e "$dir/x" ]] && echo yes || echo no)"
"$cli" export "$dir/short.wl6" "$dir/new/none" --framed >"$dir/out" 2>"$dir/err"
check "a file without pictures says so" "1 0 1 no" \
  "$? $(wc -c <"$dir/out") $(grep -c "holds no texture or sprite" "$dir/err") $([[ -e "$dir/new/none" ]] && echo yes || echo no)"

# palette: the format from the extension.
"$cli" palette "$dir/wolf.gpl" && "$cli" palette "$dir/wolf.pal" && "$cli" palette "$dir/wolf.act"
check "palette files" "0 GIMP Palette|JASC-PAL|768" \
  "$? $(head -1 "$dir/wolf.gpl")|$(head -1 "$dir/wolf.pal" | tr -d '\r')|$(stat -c %s "$dir/wolf.act")"
check "the .act file is the palette" 0 \
  "$(cmp -s "$dir/wolf.act" <(od -An -v -tu1 -w4 "$palette" | awk '{printf "%c%c%c", $3, $2, $1}'); echo $?)"
"$cli" palette "$dir/wolf.png" 2>"$dir/err"
check "unknown palette format is refused" "2 1 no" \
  "$? $(grep -c "\.gpl" "$dir/err") $([[ -e "$dir/wolf.png" ]] && echo yes || echo no)"
"$cli" palette "$dir/plain/wolf.gpl" 2>"$dir/err"
check "unwritable palette file fails" "1 1" "$? $(grep -c "cannot create" "$dir/err")"

# sounds: the table listed, bad entries reported, the samples exported as WAV.
"$cli" sounds "$dir/sounds.wl6" >"$dir/out" 2>"$dir/err"
check "a bad sound entry exits 1" 1 $?
check "sounds listing" "001 541 1 1 0.000
002 542 1 4095 0.582
003 543 1 4096 0.582
004 544 2 4097 0.582
005 546 3 10000 1.420" "$(cat "$dir/out")"
check "the bad entry is explained" "tessarine-cli: $dir/sounds.wl6: sound 006 starts at page 300 (chunk 841), past the sound section (chunks 541 to 548)" "$(cat "$dir/err")"
"$cli" sounds "$dir/pictures.wl6" >"$dir/out" 2>"$dir/err"
check "an empty sound table exits 0 and says so" "0 0 1" "$? $(wc -c <"$dir/out") $(grep -c "holds no sounds" "$dir/err")"
"$cli" export "$dir/sounds.wl6" "$dir/new/sounds" --sounds >"$dir/out" 2>"$dir/err"
check "sound export writes the good sounds and exits 1 for the bad" "1 546 5" \
  "$? $(cut -d' ' -f1 "$dir/out") $(ls "$dir/new/sounds"/sound-*.wav | wc -l)"
le16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
for n in 1 2 3 4 5; do
  wav="$dir/new/sounds/sound-00$n.wav"
  bytes=$(stat -c %s "$dir/sound-$n.samples")
  check "sound-00$n.wav is 8-bit mono at 7042 Hz" "RIFF WAVE 1 1 7042 8 $bytes" \
    "$(head -c 4 "$wav") $(tail -c +9 "$wav" | head -c 4) $(le16 "$wav" 20) $(le16 "$wav" 22) $(le32 "$wav" 24) $(le16 "$wav" 34) $(le32 "$wav" 40)"
  check "sound-00$n.wav holds the samples" 0 "$(cmp -s <(tail -c +45 "$wav" | head -c "$bytes") "$dir/sound-$n.samples"; echo $?)"
done

# pack with sounds: the unchanged export gives the same file, a replaced
# sound moves those after it, and sounds that cannot go in are refused.
mkdir -p "$dir/snd"
cp "$dir/new/sounds"/sound-*.wav "$dir/snd/"
"$cli" pack "$dir/snd" "$dir/same.wl6" --base "$dir/sounds.wl6" >/dev/null 2>&1
check "unchanged sounds pack back byte for byte" "0 0" "$? $(cmp -s "$dir/same.wl6" "$dir/sounds.wl6"; echo $?)"
rm "$dir/snd"/*
python3 - "$dir/snd/sound-002.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], 'wb') as w:  # a second of 440 Hz, 16-bit stereo at 44.1 kHz
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b''.join(struct.pack('<hh', v, v) for v in
                           (round(16000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(44100))))
PY
"$cli" pack "$dir/snd" "$dir/replaced.wl6" --base "$dir/sounds.wl6" >"$dir/out" 2>"$dir/err"
check "pack converts and replaces a sound" "0 sound 002 (chunk 542, 2 pages) from sound-002.wav, 7042 samples, 1.000 s" \
  "$? $(head -1 "$dir/out")"
check "the replaced sound moves the ones after it" "001 541 1 1 0.000
002 542 2 7042 1.000
003 544 1 4096 0.582
004 545 2 4097 0.582
005 547 3 10000 1.420" "$("$cli" sounds "$dir/replaced.wl6" 2>/dev/null)"
python3 -c 'import sys, wave; w = wave.open(sys.argv[1], "wb"); w.setnchannels(1); w.setsampwidth(1); w.setframerate(7042); w.writeframes(bytes(70000))' "$dir/snd/sound-003.wav"
"$cli" pack "$dir/snd" "$dir/long.wl6" --base "$dir/sounds.wl6" >"$dir/out" 2>"$dir/err"
check "a sound too long is refused and nothing is written" "1 no" "$? $([[ -e "$dir/long.wl6" ]] && echo yes || echo no)"
check "a sound too long is explained" 1 \
  "$(grep -c "sound-003.wav: the sound is 70000 samples long at 7042 Hz, 4465 more than the 65535 a sound can hold" "$dir/err")"

# pack: pictures of the palette's colours, and pictures that are refused.
python3 - "$palette" "$dir/pics" <<'PY'
import os, struct, sys, zlib
pal = open(sys.argv[1], 'rb').read()
colour = lambda i: (pal[4 * i + 2], pal[4 * i + 1], pal[4 * i])
def png(path, pixels, w=64, h=64):  # pixels(x, y) -> (r, g, b, a)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    raw = b''.join(b'\0' + bytes(v for x in range(w) for v in pixels(x, y)) for y in range(h))
    chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
    open(path, 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
                           chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))
def sprite(x, y):  # a 10 x 10 square of index 17 at (3, 50)
    return colour(17) + (255,) if 3 <= x < 13 and 50 <= y < 60 else (0, 0, 0, 0)
png(sys.argv[2] + '/good/sprite-002.png', sprite)
for folder in ('bad', 'all'):
    png(f'{sys.argv[2]}/{folder}/texture-002.png', lambda x, y: colour(5) + (255,), 63)
    png(f'{sys.argv[2]}/{folder}/texture-003.png', lambda x, y: (0, 0, 0, 0) if (x, y) == (4, 9) else colour(6) + (255,))
    png(f'{sys.argv[2]}/{folder}/texture-004.png', lambda x, y: (1, 2, 3, 255) if x == 7 and y < 2 else colour(7) + (255,))
    png(f'{sys.argv[2]}/{folder}/sprite-003.png', lambda x, y: sprite(x, y)[:3] + (128,) if (x, y) == (5, 55) else sprite(x, y))
    png(f'{sys.argv[2]}/{folder}/sprite-004.png', lambda x, y: colour(9) + ((x + y) % 2 * 255,))
png(sys.argv[2] + '/nearest/texture-004.png', lambda x, y: (1, 2, 3, 255) if x == 7 and y < 2 else colour(7) + (255,))
PY
base="$dir/pictures.wl6"
base_sum=$(md5sum <"$base")
cp "$dir/new/bmp/texture-001.bmp" "$dir/pics/good/"
"$cli" pack "$dir/pics/good" "$dir/packed/new.wl6" --base "$base" >"$dir/out" 2>"$dir/err"
check "pack fails when OUT's folder is missing" "1 no" "$? $([[ -e "$dir/packed/new.wl6" ]] && echo yes || echo no)"
mkdir "$dir/packed"
"$cli" pack "$dir/pics/good" "$dir/packed/new.wl6" --base "$base" >"$dir/out" 2>"$dir/err"
check "pack exits 0 and says nothing on stderr" "0 0" "$? $(wc -c <"$dir/err")"
check "pack reports each element and a summary" "texture 1 (chunk 0) from texture-001.bmp, 4096 bytes
sprite 2 (chunk 107) from sprite-002.png, 204 bytes
2 replaced, 540 copied, $(stat -c %s "$dir/packed/new.wl6") bytes written to $dir/packed/new.wl6" "$(cat "$dir/out")"
check "pack leaves only its output" "new.wl6" "$(ls -A "$dir/packed")"
check "the packed sprite shows" "Width: 10" "$("$cli" show "$dir/packed/new.wl6" 107 | grep Width)"
"$cli" export "$dir/packed/new.wl6" "$dir/packed/bmp" >/dev/null
check "unchanged pictures pack to the same pictures" "" \
  "$(for f in "$dir/new/bmp"/*.bmp; do cmp -s "$f" "$dir/packed/bmp/$(basename "$f")" || basename "$f"; done | grep -v sprite-002)"
"$cli" pack "$dir/pics/nearest" "$dir/packed/near.wl6" --base "$base" --nearest >"$dir/out"
check "pack --nearest counts the moved pixels" \
  "0 texture 4 (chunk 3) from texture-004.png, 4096 bytes, 2 pixels moved to the nearest palette colour" "$? $(head -1 "$dir/out")"
refused() {  # refused NAME EXPECTED_ERROR_LINES OUT DIR [OPTIONS]
  local name=$1 lines=$2 out=$3 pics=$4
  shift 4
  local before
  before=$(ls -A "$(dirname "$out")")
  "$cli" pack "$pics" "$out" --base "$base" "$@" >"$dir/out" 2>"$dir/err"
  check "$name: exit 1, nothing on stdout" "1 0" "$? $(wc -c <"$dir/out")"
  check "$name: every problem reported" "$lines" "$(grep -vc 'nothing written' "$dir/err")"
  check "$name: the base is unchanged" "$base_sum" "$(md5sum <"$base")"
  check "$name: nothing left behind" "$before" "$(ls -A "$(dirname "$out")")"
}
refused "pack onto the base" 1 "$base" "$dir/pics/good"
check "pack onto the base is explained" 1 "$(grep -c "is the base file" "$dir/err")"
refused "pack onto another spelling of the base" 1 "$dir/new/../pictures.wl6" "$dir/pics/good"
ln -s pictures.wl6 "$dir/link.wl6"
refused "pack onto a link to the base" 1 "$dir/link.wl6" "$dir/pics/good"
(cd "$dir" && "$cli" pack pics/good ./pictures.wl6 --base pictures.wl6 >/dev/null 2>&1)
check "pack onto ./BASE fails" "1 $base_sum" "$? $(md5sum <"$base")"
refused "bad pictures" 5 "$dir/packed/bad.wl6" "$dir/pics/bad"
check "each bad picture is explained" "texture-002.png: the picture is 63 x 64 pixels; a framed picture is 64 x 64
texture-003.png: pixel (4, 9) is transparent: a texture has no holes
texture-004.png: pixel (7, 0) has the colour #010203, which is not in the palette (and 1 more pixels of colours not in the palette)
sprite-003.png: pixel (5, 55) is partly transparent (alpha 128): a pixel is either drawn (alpha 255) or a hole (alpha 0)
sprite-004.png: the sprite takes 14596 bytes, more than the 4096 of a page, so the game cannot load it; fewer gaps in its columns make it smaller" \
  "$(grep -v 'nothing written' "$dir/err" | sed 's/^tessarine-cli: //' | sort -t- -k1,1r -k2)"
cp "$dir/new/bmp/sprite-001.bmp" "$dir/pics/all/"
refused "a sprite as BMP" 6 "$dir/packed/all.wl6" "$dir/pics/all"
check "a sprite as BMP is explained" 1 "$(grep -c "sprite-001.bmp: .*export with --framed" "$dir/err")"
refused "an unwritable folder" 1 "$dir/plain/new.wl6" "$dir/pics/good"
"$cli" pack "$dir/pics/good" "$dir/packed/x.wl6" 2>/dev/null
check "pack without --base fails" "2 no" "$? $([[ -e "$dir/packed/x.wl6" ]] && echo yes || echo no)"
check "pack --help says how nearest is measured and what a blank sprite becomes" 2 \
  "$("$cli" pack --help | grep -cE 'squared red, green and blue|column 32 alone')"

mkdir "$dir/pics/none"
# A file in the game's layout packs back byte for byte, with its textures
# replaced by their exported PNGs or by nothing.
"$cli" pack "$dir/pics/none" "$dir/packed/aligned.wl6" --base "$dir/aligned.wl6" >/dev/null
check "an empty folder packs the game's layout back" 0 "$(cmp "$dir/aligned.wl6" "$dir/packed/aligned.wl6"; echo $?)"
"$cli" export "$dir/aligned.wl6" "$dir/aligned" --png >/dev/null
rm "$dir/aligned"/sprite-*
"$cli" pack "$dir/aligned" "$dir/packed/aligned.wl6" --base "$dir/aligned.wl6" >"$dir/out"
check "exported textures pack back byte for byte" "0 106 replaced" \
  "$(cmp "$dir/aligned.wl6" "$dir/packed/aligned.wl6"; echo $?) $(tail -1 "$dir/out" | cut -d, -f1)"

# The modder's loop unchanged: the writer's file in the game's layout,
# exported in the frame and packed back, is the same file.
"$cli" export "$dir/aligned.wl6" "$dir/framed" --framed >/dev/null
"$cli" pack "$dir/framed" "$dir/packed/aligned.wl6" --base "$dir/aligned.wl6" >"$dir/out"
check "a framed export packs back byte for byte" "0 541 replaced" \
  "$(cmp "$dir/aligned.wl6" "$dir/packed/aligned.wl6"; echo $?) $(tail -1 "$dir/out" | cut -d, -f1)"

# A base cut short: its chunks are copied as the viewer reads them, with a warning.
head -c -100 "$base" >"$dir/packed/cut.wl6"
"$cli" pack "$dir/pics/none" "$dir/packed/uncut.wl6" --base "$dir/packed/cut.wl6" >/dev/null 2>"$dir/err"
check "a damaged base packs, with a warning" "0 1" "$? $(grep -c "warning: the base's table points past its end" "$dir/err")"
check "a damaged base's chunks are kept as read" "$("$cli" list "$dir/packed/cut.wl6")" "$("$cli" list "$dir/packed/uncut.wl6")"
head -c 2000 "$base" >"$dir/packed/cut.wl6"
"$cli" pack "$dir/pics/none" "$dir/packed/uncut.wl6" --base "$dir/packed/cut.wl6" >/dev/null 2>"$dir/err"
check "a base cut inside its tables packs, with a warning" "0 1" "$? $(grep -c "warning: the base's tables end past" "$dir/err")"
check "a base cut inside its tables keeps its chunk count" "542" "$("$cli" list "$dir/packed/uncut.wl6" | wc -l)"

# A table of 4 GiB of chunks beyond the file's end would give a file of
# zeros the base does not hold: refused before its bytes are allocated.
/usr/bin/time -f %M "$cli" pack "$dir/pics/none" "$dir/packed/hostile.wl6" --base "$dir/hostile.wl6" >/dev/null 2>"$dir/err"
check "a base of 4 GiB of chunks is refused" "1 no 1" \
  "$? $([[ -e "$dir/packed/hostile.wl6" ]] && echo yes || echo no) $(grep -c "too damaged to pack" "$dir/err")"
check "a base of 4 GiB of chunks is refused without its bytes in memory" 1 "$(( $(tail -1 "$dir/err") < 65536 ))"

echo "cli checks: ${rss} KiB peak for the hostile file"
if (( failures > 0 )); then
  echo "$failures failed"
  exit 1
fi
echo "all cli checks passed"
