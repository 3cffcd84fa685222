#!/bin/bash
# Browsing timed under Wine, each figure beside a baseline of the same run:
# opening a full-size and a 65,535-chunk file, selecting every texture and
# sprite, and repainting the preview during a zoom drag.
#   bench-browse.sh [BUILD_DIR] [REPEATS]
# Needs an X display (Xvfb will do) and a running wineserver (wineserver -p),
# as the tests have. Targets: the large file open in under a second, each
# repaint under 16 ms.
set -euo pipefail
build=${1:-build/mingw64}
repeats=${2:-5}
exe=$build/bench/browse/browse_bench.exe
[[ -x "$exe" ]] || { echo "build $exe first (cmake --build --preset mingw64)"; exit 1; }
# The program's stdout is the table; Wine's own notes go to stderr.
wine "$exe" "$repeats" 2>/dev/null
