#!/bin/bash
# The 32-bit Windows build's sound path computes in SSE2 registers, as x86_64
# does, and not in the x87 unit's wider ones, whose rounding would give other
# samples: sse_maths_test.sh OBJDUMP ARCHIVE...
# Run on the archives whose floating point shapes a packed sound: ours,
# libsndfile with its Vorbis and Opus decoders, and libsamplerate. (FLAC
# decodes in integers; the x87 code in libFLAC is its encoder's and seek's.)
# This machine cannot run 32-bit Windows programs, so the code is read.
set -u
objdump=$1
shift
failures=0
for archive in "$@"; do
  code=$("$objdump" -d "$archive")
  x87=$(grep -cE $'\tf(add|sub|subr|mul|div|divr|sqrt)[lsp]?\\s' <<<"$code")
  sse=$(grep -cE $'\t(add|sub|mul|div)s[sd]\\s' <<<"$code")
  if (( x87 > 0 || sse == 0 )); then
    echo "FAIL: $(basename "$archive"): $x87 x87 and $sse SSE2 arithmetic instructions"
    failures=$((failures + 1))
  fi
done
echo "sse maths: $(($# - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
