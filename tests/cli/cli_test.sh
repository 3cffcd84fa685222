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

echo "cli checks: ${rss} KiB peak for the hostile file"
if (( failures > 0 )); then
  echo "$failures failed"
  exit 1
fi
echo "all cli checks passed"
