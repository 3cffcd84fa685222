#!/bin/bash
# Runs every fuzz target for longer than the test command does:
#   tools/fuzz.sh [SECONDS]   (default 600 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
cmake --preset native >/dev/null
cmake --build --preset native
dir=build/native/fuzz
# As CTest runs them: ASan's quarantine of freed memory within the 512 MB.
export ASAN_OPTIONS=quarantine_size_mb=64
"$dir/make_fuzz_seeds" "$dir/corpus"
for target in "$dir"/*_fuzz; do
  name=$(basename "$target")
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 \
    -artifact_prefix="$dir/$name-" "$dir/corpus/$name"
done
