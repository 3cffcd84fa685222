#include "imaging/picturereader.h"

#include <gtest/gtest.h>
#ifdef TESSARINE_PNG
#include <png.h>
#endif

#include <vector>

#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/wlfile.h"

namespace {

const PaletteMatcher& Palette() {
  static const PaletteMatcher palette = [] {
    InitBmpTemplate();
    return PaletteMatcher(BuiltInPalette());
  }();
  return palette;
}

TEST(PaletteMatcherTest, ExactTakesTheLowestIndexAndNearestTheSmallestSquaredDistance) {
  // The game's palette holds some colours twice: entries 7 and 21 are both #A8A8A8.
  EXPECT_EQ(Palette().Exact(0xA8A8A8), 7);
  EXPECT_EQ(Palette().Colour(21), 0xA8A8A8u);

  ::Palette palette{};
  palette[1].R = 10;                // index 1: red 10
  palette[2].G = 10;                // index 2: green 10, as far from red 5 as index 1
  palette[3].B = palette[3].G = 8;  // index 3: blue and green 8
  const PaletteMatcher small(palette);
  EXPECT_EQ(small.Exact(0x0A0000), 1);
  EXPECT_EQ(small.Exact(0x0B0000), -1);
  EXPECT_EQ(small.Nearest(0x050000), 0) << "black, 25, beats index 1, 25, on the lower index";
  EXPECT_EQ(small.Nearest(0x090000), 1);
  EXPECT_EQ(small.Nearest(0x000909), 3);
}

#ifdef TESSARINE_PNG
// A 64 x 64 PNG through libpng's writer: 256 colour-map entries of RGBA
// with indices, or RGBA pixels; both 64 rows from the top.
std::vector<uint8_t> Png(uint32_t format, const std::vector<uint8_t>& pixels,
                         const std::vector<uint8_t>& colormap = {}, int side = 64) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = static_cast<png_uint_32>(side);
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 4);
  png_alloc_size_t size = 0;
  const png_int_32 stride = static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), stride, colormap.data()));
  std::vector<uint8_t> png(size);
  EXPECT_TRUE(
      png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), stride, colormap.data()));
  png.resize(size);
  return png;
}

// The game's palette as a colour map, every entry opaque.
std::vector<uint8_t> GameColormap() {
  std::vector<uint8_t> map;
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = Palette().Colour(i);
    map.insert(map.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 255});
  }
  return map;
}

// RGBA pixels all of palette colour `index`.
std::vector<uint8_t> Filled(int index) {
  const uint32_t c = Palette().Colour(index);
  std::vector<uint8_t> rgba;
  for (int i = 0; i < 64 * 64; ++i)
    rgba.insert(rgba.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 255});
  return rgba;
}

void SetPixel(std::vector<uint8_t>& rgba, int x, int y, std::initializer_list<uint8_t> value) {
  std::copy(value.begin(), value.end(), rgba.begin() + 4 * (64 * y + x));
}

TEST(PictureReaderTest, IndexedPngsKeepTheirIndicesAndTransparentEntriesAreHoles) {
  std::vector<uint8_t> colormap = GameColormap();
  colormap[4 * 200 + 3] = 0;  // index 200 is the hole
  std::vector<uint8_t> indices(64 * 64);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 255 == 200 ? 0 : i % 255);
  indices[64 * 5 + 3] = 200;
  indices[64 * 6 + 4] = 255;
  // Indices of a colour the palette holds twice stay as they are.
  const ReadOptions options{&Palette(), false};
  const PictureRead read = ReadFramedPng(Png(PNG_FORMAT_RGBA_COLORMAP, indices, colormap), options);
  ASSERT_EQ(read.Errors, std::vector<std::string>{});
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const size_t at = static_cast<size_t>(64 * x + y);
      const uint8_t index = indices[static_cast<size_t>(64 * y + x)];
      ASSERT_EQ(read.Picture.Opaque[at], index != 200) << x << ", " << y;
      if (index != 200) {
        ASSERT_EQ(read.Picture.Index[at], index) << x << ", " << y;
      }
    }
  }
  EXPECT_EQ(read.MovedToNearest, 0u);

  // A partly transparent entry is an error at the first pixel that uses it.
  colormap[4 * 9 + 3] = 128;
  EXPECT_EQ(
      ReadFramedPng(Png(PNG_FORMAT_RGBA_COLORMAP, indices, colormap), options).Errors,
      std::vector<std::string>{"pixel (9, 0) is partly transparent (alpha 128): a pixel is either drawn "
                               "(alpha 255) or a hole (alpha 0) (and 16 more partly transparent pixels)"});
}

TEST(PictureReaderTest, ColourPngsMapToThePaletteOrFail) {
  const ReadOptions exact{&Palette(), false};
  std::vector<uint8_t> rgba = Filled(30);
  SetPixel(rgba, 1, 2, {0, 0, 0, 0});
  const PictureRead read = ReadFramedPng(Png(PNG_FORMAT_RGBA, rgba), exact);
  ASSERT_TRUE(read.Errors.empty());
  EXPECT_EQ(read.Picture.Opaque[64 * 1 + 2], 0);
  EXPECT_EQ(read.Picture.Index[64 * 1 + 3], 30);

  SetPixel(rgba, 3, 4, {1, 2, 3, 255});
  SetPixel(rgba, 5, 6, {1, 2, 3, 255});
  SetPixel(rgba, 7, 8, {9, 9, 9, 254});
  const std::vector<uint8_t> bad = Png(PNG_FORMAT_RGBA, rgba);
  EXPECT_EQ(
      ReadFramedPng(bad, exact).Errors,
      (std::vector<std::string>{
          "pixel (7, 8) is partly transparent (alpha 254): a pixel is either drawn (alpha 255) or a hole "
          "(alpha 0)",
          "pixel (3, 4) has the colour #010203, which is not in the palette (and 1 more pixels of colours "
          "not in the palette)"}));
  rgba = Filled(30);
  SetPixel(rgba, 3, 4, {1, 2, 3, 255});
  const PictureRead nearest = ReadFramedPng(Png(PNG_FORMAT_RGBA, rgba), {&Palette(), true});
  ASSERT_TRUE(nearest.Errors.empty());
  EXPECT_EQ(nearest.MovedToNearest, 1u);
  EXPECT_EQ(nearest.Picture.Index[64 * 3 + 4], Palette().Nearest(0x010203));

  EXPECT_EQ(ReadFramedPng(Png(PNG_FORMAT_RGBA, std::vector<uint8_t>(65 * 65 * 4), {}, 65), exact).Errors,
            std::vector<std::string>{"the picture is 65 x 65 pixels; a framed picture is 64 x 64"});
  EXPECT_EQ(ReadFramedPng(std::vector<uint8_t>(bad.begin(), bad.begin() + 60), exact).Errors.size(), 1u);
}

#endif

// pack_test packs the exporter's texture BMPs back to the same chunks.
TEST(PictureReaderTest, OnlyWholeBmpsOfTheFrameAreRead) {
  MemoryStream image;
  const std::vector<uint8_t> sprite{32, 0, 32, 0, 6, 0, 0, 0};
  WriteElementImage({sprite.data(), 8, 8}, SectionKind::Sprite, image);
  const std::vector<uint8_t> narrow(image.Bytes().begin(), image.Bytes().end());
  EXPECT_EQ(ReadFramedBmp(narrow, {&Palette(), false}).Errors,
            std::vector<std::string>{"the picture is 1 x 64 pixels; a framed picture is 64 x 64"});
  EXPECT_EQ(
      ReadFramedBmp({narrow.begin(), narrow.begin() + 100}, {&Palette(), false}).Errors,
      std::vector<std::string>{"not a BMP picture that can be read (uncompressed, 1 to 32 bits per pixel)"});
}

}  // namespace
