#!/bin/bash
# Builds Tessarine and opens a page file in the viewer, the way the shell
# starts it for a .wl6 file: the file's path, quoted, as the first argument.
#   run.sh [PAGE_FILE]   (default: the bundled sample page file)
# On an X display the window stays open; without one, see show-window.sh.
set -euo pipefail
if [[ $# -gt 1 ]]; then
  echo "usage: tools/run.sh [PAGE_FILE]" >&2
  exit 2
fi
file=""
if [[ $# -eq 1 ]]; then
  if [[ ! -f "$1" ]]; then
    echo "run.sh: no such file: $1" >&2
    exit 1
  fi
  file=$(realpath -s -- "$1")
fi
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages
tools/windows-libraries.sh x86_64

# The sample is drawn by a native tool; the viewer is a Windows program.
cmake --preset native >/dev/null
cmake --build --preset native --target tessarine-cli tessarine_sample
[[ -n "$file" ]] || file=$PWD/build/native/sample/vswap.wl6
build/native/cli/tessarine-cli info "$file" || true # the viewer shows a damaged file too

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target tessarine
start_wine || true # a wine server may run already
export LC_ALL=C.UTF-8 # Cyrillic paths cross between Linux and Wine as UTF-8

# Wine's drive Z: is the Linux root. A Windows name cannot hold "*:<>?|\;
# Wine shows a file or folder so named by its short name, which is used for
# that part alone. Wine quotes an argument with blanks.
windows_path() {
  local rest=${1#/} part sofar="" path="Z:"
  while [[ -n "$rest" ]]; do
    part=${rest%%/*}
    [[ "$rest" == */* ]] && rest=${rest#*/} || rest=""
    sofar+=/$part
    if [[ "$part" == *[\"*:\<\>?\|\\]* ]]; then
      part=$(winepath -s "$(winepath -w "$sofar" 2>/dev/null)" 2>/dev/null)
      part=${part##*\\}
    fi
    path+=\\$part
  done
  printf '%s' "$path"
}
tools/show-window.sh build/mingw64 "$(windows_path "$file")"
