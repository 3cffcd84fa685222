#include "imaging/pngcodec.h"

#include "base/bitmap.h"
#include "imaging/framedpng.h"

bool EncodePng(const Bitmap& bitmap, std::vector<uint8_t>& png, std::string& error) {
  if (bitmap.BitCount() != 8 || bitmap.Width() <= 0 || bitmap.Height() <= 0) {
    error = "a picture " + std::to_string(bitmap.Width()) + " x " + std::to_string(bitmap.Height()) +
            " pixels has no PNG form";
    return false;
  }
  // The colour table is blue, green, red, unused.
  Palette palette;
  const uint8_t* table = bitmap.Info().data() + 40;
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i]};
  // The rows are stored bottom row first.
  const ptrdiff_t stride = bitmap.Stride();
  const uint8_t* top = bitmap.Bits().data() + (bitmap.Height() - 1) * stride;
  return EncodePalettedPng(bitmap.Width(), bitmap.Height(), top, -stride, palette, png, error);
}
