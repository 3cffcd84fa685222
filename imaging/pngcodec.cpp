#include "imaging/pngcodec.h"

#include <png.h>

#include "base/bitmap.h"

bool EncodePng(const Bitmap& bitmap, std::vector<uint8_t>& png, std::string& error) {
  if (bitmap.BitCount() != 8 || bitmap.Width() <= 0 || bitmap.Height() <= 0) {
    error = "a picture " + std::to_string(bitmap.Width()) + " x " + std::to_string(bitmap.Height()) +
            " pixels has no PNG form";
    return false;
  }
  // The colour table is blue, green, red, unused; libpng wants red, green, blue.
  uint8_t colormap[256 * 3];
  const uint8_t* table = bitmap.Info().data() + 40;
  for (size_t i = 0; i < 256; ++i) {
    colormap[3 * i] = table[4 * i + 2];
    colormap[3 * i + 1] = table[4 * i + 1];
    colormap[3 * i + 2] = table[4 * i];
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = PNG_FORMAT_RGB_COLORMAP;
  image.colormap_entries = 256;
  // A negative stride tells libpng that the rows are stored bottom row first.
  const png_int_32 stride = -bitmap.Stride();
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, bitmap.Bits().data(), stride, colormap)) {
    error = image.message;
    return false;
  }
  png.resize(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, bitmap.Bits().data(), stride, colormap)) {
    error = image.message;
    return false;
  }
  png.resize(size);
  return true;
}
