// Framed pictures, contact sheets and element pictures as PNG files: the
// pixels compressed by libdeflate, the chunks around them written here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/framedpicture.h"
#include "imaging/palettefile.h"

// Cells per row of a contact sheet, and the transparent pixels between cells.
constexpr int SheetColumns = 16;
constexpr int SheetGap = 2;

// Encodes `picture` as a 64 x 64 palettised PNG, 8 bits per pixel, whose
// PLTE is `palette` and whose pixels keep their indices. Holes take the
// index that TransparentIndex chooses, the only one that tRNS makes
// transparent; a picture without holes has no tRNS. A picture whose drawn
// pixels use all 256 indices becomes an RGBA PNG instead, and `rgba` says so.
bool EncodeFramedPng(const FramedPicture& picture, const Palette& palette, std::vector<uint8_t>& png,
                     bool& rgba, std::string& error);

// Encodes width x height palette indices, rows `stride` bytes apart from
// the top row on, as a palettised PNG with `palette` and an sRGB chunk
// (perceptual intent) before its PLTE. The caller makes sure the size is at
// least 1 x 1.
bool EncodePalettedPng(int32_t width, int32_t height, const uint8_t* top, ptrdiff_t stride,
                       const Palette& palette, std::vector<uint8_t>& png, std::string& error);

// Encodes the cells as one RGBA PNG, SheetColumns to a row in the given
// order, SheetGap transparent pixels between neighbours and nothing around
// them; holes are transparent black. Needs at least one cell.
bool EncodeSheetPng(std::span<const FramedPicture> cells, const Palette& palette, std::vector<uint8_t>& png,
                    std::string& error);
