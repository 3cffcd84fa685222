#!/bin/bash
# The Windows tool's exports of a full-size file timed under Wine, the framed
# PNG export beside the BMP export of the same run (the baseline), and the
# native tool's two beside each other for comparison:
#   bench-export.sh [REPEATS]
# Each figure is the median of REPEATS whole runs of the tool (default 7),
# the two exports taking turns. The file is the bundled sample: 106 textures
# and 435 sprites, drawn by tools/make-sample. Needs the native and mingw64
# builds (tools/test.sh makes both); starts a wine server of its own if none
# runs. Target: the framed export at most twice the BMP export, as natively.
set -euo pipefail
cd "$(dirname "$0")/.."
repeats=${1:-7}
native=build/native/cli/tessarine-cli
win=build/mingw64/cli/tessarine-cli.exe
sample=build/native/sample/vswap.wl6
for f in "$native" "$win" "$sample"; do
  [[ -e "$f" ]] || { echo "build $f first (tools/test.sh)"; exit 1; }
done
source tools/setup.sh
start_wine
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample" "$work/vswap.wl6"

# seconds COMMAND...: the wall time of one run, its output folder emptied first.
seconds() {
  rm -rf "$work/out"
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "$(((end - start) / 1000))"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# row NAME TOOL...: the medians of the BMP and the framed export, and their ratio.
row() {
  local name=$1
  shift
  local bmp=() framed=()
  (cd "$work" && "$@" export vswap.wl6 out >/dev/null 2>&1) # warm the caches
  for _ in $(seq "$repeats"); do
    bmp+=("$(cd "$work" && seconds "$@" export vswap.wl6 out)")
    framed+=("$(cd "$work" && seconds "$@" export vswap.wl6 out --framed)")
  done
  local b f
  b=$(printf '%s\n' "${bmp[@]}" | median)
  f=$(printf '%s\n' "${framed[@]}" | median)
  awk -v n="$name" -v b="$b" -v f="$f" \
    'BEGIN { printf "%-28s %9.1f ms %9.1f ms %7.2fx\n", n, b / 1000, f / 1000, f / b }'
}

printf '%-28s %12s %12s %8s\n' "median of $repeats runs" "BMP export" "--framed" "ratio"
row "tessarine-cli (native)" "$PWD/$native"
row "tessarine-cli.exe (Wine)" wine "$PWD/$win"
