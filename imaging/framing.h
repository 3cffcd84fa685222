// Textures and sprites placed in the game's 64 x 64 frame, with the pixels
// that no run draws told apart from drawn ones of any index.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/decoder.h"
#include "imaging/framedpicture.h"
#include "pagefile/wlfile.h"

// The plane in the frame: its column c at x = First + c; columns past
// x = 63 are left out.
FramedPicture Framed(const ElementPlane& plane);

// Frames a chunk's bytes. A texture is opaque, pixel (x, y) its byte
// 64 x + y, index 0 where the chunk ends. A sprite's column k stands at
// x = first column + k and draws what the decoder draws of it; columns
// past x = 63 are left out. The unknown section gives an empty frame.
FramedPicture FrameElement(std::span<const uint8_t> chunk, SectionKind section);

// The chunk's own bytes with only its pixel bytes changed, so that it frames
// as `picture`: the same length, the same columns and runs, whatever way
// its runs share or order their pixel bytes. Nothing when no such change
// draws the picture: other holes, or one byte that two pixels of different
// indices read, or a pixel that the chunk does not hold.
std::optional<std::vector<uint8_t>> RepaintChunk(std::span<const uint8_t> chunk, SectionKind section,
                                                 const FramedPicture& picture);

// The palette index that can mark the holes of `picture`: 255 if no drawn
// pixel uses it, else the highest index none uses; -1 when the drawn pixels
// use all 256.
int TransparentIndex(const FramedPicture& picture);

// Whether every pixel of `picture` is drawn.
bool FullyOpaque(const FramedPicture& picture);
