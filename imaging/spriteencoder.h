// Texture and sprite chunks from framed pictures, laid out as the game's own
// page files hold them. Needs nothing but the standard library, so that the
// test-file writer builds its chunks with the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/framedpicture.h"

// The game loads a chunk into one page: a larger sprite cannot be shown.
constexpr size_t MaxSpriteChunkSize = 4096;

// The column that a sprite with no opaque pixel keeps: one column with no
// runs is the smallest sprite the game reads.
constexpr int BlankSpriteColumn = 32;

// The 4096 indices, column after column; holes are not looked at.
std::vector<uint8_t> EncodeTextureChunk(const FramedPicture& picture);

// First and last opaque column, the column offset table, the pixel pool
// (column after column, runs top to bottom), a zero byte when the pool's
// length is odd, then each column's run list. A run is a maximal vertical
// stretch of opaque pixels, recorded as (end row * 2, source word, start
// row * 2), and each list ends with a 0 word. The source word is what the
// game reads the run's pixels by: the chunk position of the run's first
// pixel minus its start row, kept to 16 bits. The result may be larger than
// MaxSpriteChunkSize; the caller decides what to do with it.
std::vector<uint8_t> EncodeSpriteChunk(const FramedPicture& picture);
