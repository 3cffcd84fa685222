// The check that the picture readers' fuzz targets share: any bytes as a
// picture file, the first byte choosing the nearest colour or not. A reader
// and the palette mapping must give a picture or errors, and never read or
// write outside their buffers.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>

#include "imaging/bmptemplate.h"
#include "imaging/picturereader.h"

using PictureFileReader = PictureRead (*)(std::span<const uint8_t>, const ReadOptions&);

inline int FuzzPictureReader(const uint8_t* data, size_t size, PictureFileReader reader) {
  static const PaletteMatcher palette = [] {
    InitBmpTemplate();
    return PaletteMatcher(BuiltInPalette());
  }();
  if (size < 1) return 0;
  const ReadOptions options{&palette, (data[0] & 1) != 0};
  const PictureRead read = reader(std::span<const uint8_t>(data + 1, size - 1), options);
  // Without the nearest colour nothing moves; a hole keeps index 0.
  if (!options.Nearest && read.MovedToNearest != 0) std::abort();
  for (size_t i = 0; i < read.Picture.Opaque.size(); ++i)
    if (read.Picture.Opaque[i] > 1 || (!read.Picture.Opaque[i] && read.Picture.Index[i] != 0)) std::abort();
  return 0;
}
