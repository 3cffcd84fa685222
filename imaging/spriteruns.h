// The walk over a sprite chunk's runs, shared by the decoder (the element
// bitmap) and the framing (the 64 x 64 frame), so that both draw the same
// pixels of a damaged chunk.
//
// A sprite chunk holds its first and last column, an offset per column to a
// list of runs, and a pool of pixel bytes that the runs take in turn.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/bytereader.h"

struct SpriteLayout {
  int32_t First = 0;     // the frame column of the sprite's column 0
  int32_t Declared = 0;  // last - first + 1, as the chunk says; may be 0 or less
  int32_t Width = 0;     // columns shown: the declared ones, at most 64
  int32_t Listed = 0;    // of these, the columns whose offset the chunk holds
};

inline SpriteLayout ReadSpriteLayout(std::span<const uint8_t> chunk) {
  SpriteLayout layout;
  // A chunk too short for its two column words has no columns.
  if (chunk.size() < 4) return layout;
  const ByteReader words(chunk);
  layout.First = words.Le16At(0);
  layout.Declared = int32_t{words.Le16At(2)} - layout.First + 1;
  // A last column more than one below the first gives no columns; beyond 64
  // columns only the first 64 are shown, as the frame is 64 pixels wide.
  layout.Width = std::clamp(layout.Declared, 0, 64);
  // Offset table entries that the chunk does not hold leave their columns
  // without runs.
  layout.Listed = std::min(layout.Width, static_cast<int32_t>((chunk.size() - 4) / 2));
  return layout;
}

// Calls draw(column, top, pixels, n) for every run of columns 0 to
// `columns` - 1 (at most layout.Listed) with the n > 0 pixels of it that lie
// inside the frame and inside the chunk, rows top to top + n - 1. Runs come
// in the order the pool is consumed, so a later run overdraws an earlier one.
template <typename Draw>
inline void WalkSpriteRuns(std::span<const uint8_t> bytes, const SpriteLayout& layout, int32_t columns,
                           Draw&& draw) {
  const ByteReader chunk(bytes);
  // The pool follows the whole declared offset table and is consumed in
  // column order, each column's runs in list order.
  size_t pool = static_cast<size_t>((std::max(layout.Declared, 0) + 2) * 2);
  for (int32_t c = 0; c < columns; ++c) {
    // Records of three words up to a 0 word, which is read where the next
    // record would begin. A list ends where the chunk ends: a missing end
    // word closes it, and a record the chunk holds only in part is dropped.
    ByteReader list(bytes);
    list.Seek(chunk.Le16At(4 + 2 * static_cast<size_t>(c)));
    while (list.Remaining() >= 6) {
      const int32_t end2 = list.Le16();
      if (end2 == 0) break;
      list.Skip(2);
      const int32_t start2 = list.Le16();
      // An upside-down run (end above start) covers no rows and takes nothing
      // from the pool.
      const int32_t length = (end2 - start2) / 2;
      if (length <= 0) continue;
      // A run takes all its bytes from the pool, but only its rows inside the
      // frame are drawn; pool bytes past the end of the chunk leave their
      // rows uncovered.
      const int32_t top = start2 >> 1;
      const std::span<const uint8_t> pixels =
          chunk.Span(pool, static_cast<size_t>(std::clamp(64 - top, 0, length)));
      if (!pixels.empty()) draw(c, top, pixels.data(), pixels.size());
      pool += static_cast<size_t>(length);
    }
  }
}
