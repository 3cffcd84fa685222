// The head of every element bitmap: BMP file header, info header and the
// game's 256-colour palette, 1078 bytes in all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/palettefile.h"

constexpr size_t BmpHeadSize = 1078;
constexpr size_t PaletteOffset = 54;
constexpr size_t PaletteSize = 1024;

// Offsets of the fields each decode sets.
constexpr size_t BfSizeOffset = 2;
constexpr size_t BiWidthOffset = 18;
constexpr size_t BiHeightOffset = 22;

using BmpHeadBytes = std::array<uint8_t, BmpHeadSize>;

extern BmpHeadBytes BmpTemplate;

// Writes the constant header fields and loads the palette from the program's
// own resources. A missing or short palette leaves the uncovered entries black.
void InitBmpTemplate();

// A head like BmpTemplate's, with `palette` as its colour table, for
// pictures in a palette other than the program's own.
BmpHeadBytes BmpHead(const Palette& palette);
