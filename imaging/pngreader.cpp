// PNG pictures through libpng's simplified reading interface, which reports
// damage through its own error message rather than a long jump.
#include <png.h>

#include <memory>

#include "imaging/picturereader.h"

namespace {

PictureRead Failure(std::string message) {
  PictureRead failed;
  failed.Errors.push_back(std::move(message));
  return failed;
}

}  // namespace

PictureRead ReadFramedPng(std::span<const uint8_t> bytes, const ReadOptions& options) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return Failure(std::string("not a PNG picture that can be read: ") + image.message);
  // Checked before libpng allocates anything for the pixels.
  if (auto error = FrameSizeError(image.width, image.height)) {
    png_image_free(&image);
    return Failure(*error);
  }
  if (image.format & PNG_FORMAT_FLAG_COLORMAP) {
    // A palette file keeps its palette's order, so its indices come through.
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    std::array<uint8_t, FrameSide * FrameSide> indices;
    std::array<uint8_t, 256 * 4> colormap{};
    if (!png_image_finish_read(&image, nullptr, indices.data(), FrameSide, colormap.data()))
      return Failure(std::string("the PNG picture is damaged: ") + image.message);
    std::array<uint32_t, 256> table{};
    const size_t entries = std::min<size_t>(image.colormap_entries, table.size());
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* c = colormap.data() + 4 * i;
      table[i] = uint32_t{c[3]} << 24 | uint32_t{c[0]} << 16 | uint32_t{c[1]} << 8 | c[2];
    }
    return MapPalettePixels(indices, std::span<const uint32_t>(table.data(), entries), options);
  }
  image.format = PNG_FORMAT_RGBA;
  std::array<uint8_t, FrameSide * FrameSide * 4> rgba;
  if (!png_image_finish_read(&image, nullptr, rgba.data(), FrameSide * 4, nullptr))
    return Failure(std::string("the PNG picture is damaged: ") + image.message);
  return MapColourPixels(rgba, options);
}
