#!/bin/bash
# Builds Tessarine and opens the bundled sample page file in the viewer, the
# way the shell starts it for a .wl6 file: the file's path, quoted, as the
# first argument.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages

# The sample is drawn by a native tool; the viewer is a Windows program.
cmake --preset native >/dev/null
cmake --build --preset native --target tessarine-cli tessarine_sample
sample=$PWD/build/native/sample/vswap.wl6
build/native/cli/tessarine-cli info "$sample"

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target tessarine
# Wine's drive Z: is the Linux root; Wine quotes an argument with blanks.
tools/show-window.sh build/mingw64 "Z:${sample//\//\\}"
