// Bitmaps as PNG files, through framedpng.h's writer (the native build only:
// the Windows builds write BMP files until they link libdeflate and libspng).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Bitmap;

// Encodes an 8-bit bitmap as a palettised PNG with the bitmap's own colour
// table and the same indices, by way of EncodePalettedPng. Returns false,
// with the reason in `error`, if the picture has no PNG form (a PNG is at
// least 1 pixel wide).
bool EncodePng(const Bitmap& bitmap, std::vector<uint8_t>& png, std::string& error);
