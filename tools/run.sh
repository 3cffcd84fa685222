#!/bin/bash
# Builds Tessarine and shows the bundled sample page file.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages

cmake --preset native >/dev/null
cmake --build --preset native --target tessarine-cli tessarine_sample
sample=build/native/sample/vswap.wl6
build/native/cli/tessarine-cli info "$sample"
build/native/cli/tessarine-cli list "$sample" | head -5
