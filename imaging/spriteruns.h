// The walk over a sprite chunk's runs, shared by the decoder (the element
// bitmap) and the framing (the 64 x 64 frame), so that both draw the same
// pixels of a damaged chunk.
//
// A sprite chunk holds its first and last column, an offset per column to a
// list of runs, and the pixel bytes that the runs' source words point at.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/bytereader.h"
#include "imaging/framedpicture.h"

struct SpriteLayout {
  int32_t First = 0;   // the frame column of the sprite's column 0
  int32_t Width = 0;   // columns shown: the declared ones, at most 64
  int32_t Listed = 0;  // of these, the columns whose offset the chunk holds
};

inline SpriteLayout ReadSpriteLayout(std::span<const uint8_t> chunk) {
  SpriteLayout layout;
  // A chunk too short for its two column words has no columns.
  if (chunk.size() < 4) return layout;
  const ByteReader words(chunk);
  layout.First = words.Le16At(0);
  // A last column more than one below the first gives no columns; beyond 64
  // columns only the first 64 are shown, as the frame is 64 pixels wide.
  layout.Width = std::clamp(int32_t{words.Le16At(2)} - layout.First + 1, 0, FrameSide);
  // Offset table entries that the chunk does not hold leave their columns
  // without runs.
  layout.Listed = std::min(layout.Width, static_cast<int32_t>((chunk.size() - 4) / 2));
  return layout;
}

// What a run reads where its positions lie outside the chunk: index 0.
inline constexpr uint8_t OutsideChunk[FrameSide] = {};

// Calls draw(column, top, pixels, n) for every run of columns 0 to
// `columns` - 1 (at most layout.Listed), with n > 0 pixels for rows top to
// top + n - 1 of it, inside the frame; a run may come in several calls.
// Pixels are read as the game reads them: row r of a run is the chunk byte
// at (the run's source word + r) mod 65536, and a position outside the
// chunk reads as 0 (`pixels` is then OutsideChunk). Runs come in list
// order, column by column, so a later run overdraws an earlier one.
template <typename Draw>
inline void WalkSpriteRuns(std::span<const uint8_t> bytes, int32_t columns, Draw&& draw) {
  const ByteReader chunk(bytes);
  for (int32_t c = 0; c < columns; ++c) {
    // Records of three words up to a 0 word, which is read where the next
    // record would begin. A list ends where the chunk ends: a missing end
    // word closes it, and a record the chunk holds only in part is dropped.
    ByteReader list(bytes);
    list.Seek(chunk.Le16At(4 + 2 * static_cast<size_t>(c)));
    while (list.Remaining() >= 6) {
      const int32_t end2 = list.Le16();
      if (end2 == 0) break;
      const uint32_t source = list.Le16();
      const int32_t start2 = list.Le16();
      // An upside-down run (end above start) covers no rows; rows below the
      // frame are not drawn.
      const int32_t top = start2 >> 1;
      int32_t rows = std::min((end2 - start2) / 2, FrameSide - top);
      // The rows' bytes lie in a row unless they wrap at 65536 or leave
      // the chunk, where the run is cut into pieces.
      for (int32_t row = top; rows > 0;) {
        const size_t at = (source + static_cast<uint32_t>(row)) & 0xFFFF;
        const size_t inChunk = at < bytes.size() ? bytes.size() - at : 0;
        const auto n = static_cast<int32_t>(
            std::min({static_cast<size_t>(rows), 0x10000 - at, inChunk > 0 ? inChunk : sizeof OutsideChunk}));
        draw(c, row, inChunk > 0 ? bytes.data() + at : OutsideChunk, static_cast<size_t>(n));
        row += n;
        rows -= n;
      }
    }
  }
}
