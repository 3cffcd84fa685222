#include "imaging/picturereader.h"

#include <gtest/gtest.h>
#include <libdeflate.h>

#include <algorithm>
#include <vector>

#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "pagefile/wlfile.h"
#include "pngfile.h"

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
  EXPECT_EQ(Palette().Color(21), 0xA8A8A8u);

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

Rgb ColorOf(int index) {
  const uint32_t c = Palette().Color(index);
  return {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
}

// A sprite of the given indices in diagonal stripes, every few pixels a hole.
FramedPicture Striped(std::vector<int> indices) {
  FramedPicture p;
  for (size_t at = 0; at < p.Index.size(); ++at) {
    const size_t k = (at / 64 + at % 64 * 3) % (indices.size() + 1);
    if (k == indices.size()) continue;
    p.Index[at] = static_cast<uint8_t>(indices[k]);
    p.Opaque[at] = 1;
  }
  return p;
}

// What reading a picture's colours gives without a base: each colour at the
// lowest index that has it.
FramedPicture Lowest(FramedPicture p) {
  for (size_t at = 0; at < p.Index.size(); ++at)
    if (p.Opaque[at]) p.Index[at] = static_cast<uint8_t>(Palette().Exact(Palette().Color(p.Index[at])));
  return p;
}

// `picture` as an image editor saves it in this colour type and depth: each
// drawn pixel in its palette colour, 16-bit samples as the 8-bit value x 257,
// holes transparent by alpha 0 or by a tRNS colour that no drawn pixel has.
// An indexed picture's PLTE holds the colours drawn, in order of first use,
// and then one transparent entry; the caller makes sure they fit the depth.
PngPicture Saved(const FramedPicture& picture, PngColor color, uint8_t depth) {
  PngPicture png;
  png.Color = color;
  png.Depth = depth;
  png.Rows.resize(png.RowBytes() * 64);
  const uint32_t scale = depth == 16 ? 257 : 1;
  std::vector<int> entries;  // palette index of each PLTE entry, -1 for the holes' one
  const bool holes = std::find(picture.Opaque.begin(), picture.Opaque.end(), 0) != picture.Opaque.end();
  for (size_t at = 0; at < picture.Index.size() && color == PngColor::Indexed; ++at)
    if (picture.Opaque[at] && std::find(entries.begin(), entries.end(), picture.Index[at]) == entries.end())
      entries.push_back(picture.Index[at]);
  if (holes) entries.push_back(-1);
  for (uint32_t y = 0; y < 64; ++y) {
    for (size_t x = 0; x < 64; ++x) {
      const size_t at = x * 64 + y;
      const bool drawn = picture.Opaque[at] != 0;
      const Rgb c = ColorOf(picture.Index[at]);
      std::vector<uint32_t> samples;
      switch (color) {
        case PngColor::Indexed:
          samples = {static_cast<uint32_t>(
              std::find(entries.begin(), entries.end(), drawn ? picture.Index[at] : -1) - entries.begin())};
          break;
        case PngColor::Grey:
          samples = {drawn ? c.R * scale : 1};
          break;
        case PngColor::GreyAlpha:
          samples = {c.R * scale, drawn ? 255 * scale : 0};
          break;
        case PngColor::Rgb:
          samples = drawn ? std::vector<uint32_t>{c.R * scale, c.G * scale, c.B * scale}
                          : std::vector<uint32_t>{1, 2, 3};
          break;
        case PngColor::Rgba:
          samples = {c.R * scale, c.G * scale, c.B * scale, drawn ? 255 * scale : 0};
          break;
      }
      for (size_t k = 0; k < samples.size(); ++k) png.SetSample(y, x * samples.size() + k, samples[k]);
    }
  }
  if (color == PngColor::Indexed) {
    for (int index : entries) {
      const Rgb c = index < 0 ? Rgb{} : ColorOf(index);
      png.Plte.push_back({c.R, c.G, c.B});
    }
    if (holes) {
      png.TrnsAlpha = std::vector<uint8_t>(entries.size() - 1, 255);
      png.TrnsAlpha->push_back(0);
    }
  } else if (color == PngColor::Grey || color == PngColor::Rgb) {
    png.TrnsColor = {{1, 2, 3}};
  }
  return png;
}

std::vector<uint8_t> File(const PngPicture& png) {
  std::string error;
  const std::vector<uint8_t> file = EncodePngFile(png, &error);
  EXPECT_FALSE(file.empty()) << error;
  return file;
}

// Fixes the CRC of the chunk that starts at `at` after its data changed.
void FixCrc(std::vector<uint8_t>& file, size_t at) {
  const uint32_t length = ReadBe32(&file[at]);
  WriteBe32(&file[at + 8 + length], libdeflate_crc32(0, &file[at + 4], length + size_t{4}));
}

size_t ChunkAt(const std::vector<uint8_t>& file, const char* type) {
  const std::optional<size_t> at = FindPngChunk(file, type);
  EXPECT_TRUE(at) << type;
  return at.value_or(0);
}

// `file` with a chunk of this type and data put before the first `before` chunk.
std::vector<uint8_t> WithChunk(std::vector<uint8_t> file, const char* before, const char* type,
                               const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunk(12 + data.size());
  WriteBe32(chunk.data(), static_cast<uint32_t>(data.size()));
  std::copy_n(type, 4, chunk.begin() + 4);
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  FixCrc(chunk, 0);
  file.insert(file.begin() + static_cast<ptrdiff_t>(ChunkAt(file, before)), chunk.begin(), chunk.end());
  return file;
}

// `file` with its one IDAT cut into IDATs of `size` bytes and the rest, as
// some editors write them.
std::vector<uint8_t> SplitIdat(std::vector<uint8_t> file, size_t size) {
  const size_t at = ChunkAt(file, "IDAT");
  const std::vector<uint8_t> data(file.begin() + static_cast<ptrdiff_t>(at + 8),
                                  file.begin() + static_cast<ptrdiff_t>(at + 8 + ReadBe32(&file[at])));
  file.erase(file.begin() + static_cast<ptrdiff_t>(at),
             file.begin() + static_cast<ptrdiff_t>(at + 12 + data.size()));
  for (size_t from = 0; from < data.size(); from += size) {
    const std::vector<uint8_t> piece(
        data.begin() + static_cast<ptrdiff_t>(from),
        data.begin() + static_cast<ptrdiff_t>(std::min(data.size(), from + size)));
    file = WithChunk(file, "IEND", "IDAT", piece);
  }
  return file;
}

TEST(PngReaderTest, IndexedPngsWithTheGamesPaletteKeepTheirIndicesAndTransparentEntriesAreHoles) {
  PngPicture png;
  png.Color = PngColor::Indexed;
  png.Rows.resize(64 * 64);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = ColorOf(i);
    png.Plte.push_back({c.R, c.G, c.B});
  }
  png.TrnsAlpha = std::vector<uint8_t>(201, 255);
  png.TrnsAlpha->back() = 0;  // index 200 is the hole
  for (size_t i = 0; i < png.Rows.size(); ++i)
    png.Rows[i] = static_cast<uint8_t>(i % 255 == 200 ? 0 : i % 255);
  png.Rows[64 * 5 + 3] = 200;
  png.Rows[64 * 6 + 4] = 255;
  // Indices of a colour the palette holds twice stay as they are, whatever
  // the base has there.
  FramedPicture base;
  base.Opaque.fill(1);
  base.Index.fill(7);
  const PictureRead read = ReadFramedPng(File(png), {&Palette(), false, &base});
  ASSERT_EQ(read.Errors, std::vector<std::string>{});
  FramedPicture expected;
  for (size_t at = 0; at < expected.Index.size(); ++at) {
    const uint8_t index = png.Rows[at % 64 * 64 + at / 64];  // pixel (at / 64, at % 64)
    expected.Opaque[at] = index != 200;
    expected.Index[at] = index == 200 ? 0 : index;
  }
  EXPECT_TRUE(read.Picture == expected);
  EXPECT_EQ(read.MovedToNearest, 0u);

  // A partly transparent entry is an error at the first pixel that uses it.
  png.TrnsAlpha->at(9) = 128;
  EXPECT_EQ(
      ReadFramedPng(File(png), {&Palette(), false}).Errors,
      std::vector<std::string>{"pixel (9, 0) is partly transparent (alpha 128): a pixel is either drawn "
                               "(alpha 255) or a hole (alpha 0) (and 16 more partly transparent pixels)"});
}

TEST(PngReaderTest, ColorPngsMapToThePaletteOrFail) {
  const ReadOptions exact{&Palette(), false};
  FramedPicture picture;
  picture.Index.fill(30);
  picture.Opaque.fill(1);
  picture.Opaque[64 * 1 + 2] = 0;
  PngPicture png = Saved(picture, PngColor::Rgba, 8);
  const auto set = [&png](size_t x, uint32_t y, std::vector<uint32_t> rgba) {
    for (size_t k = 0; k < 4; ++k) png.SetSample(y, 4 * x + k, rgba[k]);
  };
  set(3, 4, {1, 2, 3, 255});
  set(5, 6, {1, 2, 3, 255});
  set(7, 8, {9, 9, 9, 254});
  EXPECT_EQ(
      ReadFramedPng(File(png), exact).Errors,
      (std::vector<std::string>{
          "pixel (7, 8) is partly transparent (alpha 254): a pixel is either drawn (alpha 255) or a hole "
          "(alpha 0)",
          "pixel (3, 4) has the colour #010203, which is not in the palette (and 1 more pixels of colours "
          "not in the palette)"}));
  set(7, 8, {0, 0, 0, 0});
  const PictureRead nearest = ReadFramedPng(File(png), {&Palette(), true});
  ASSERT_TRUE(nearest.Errors.empty());
  EXPECT_EQ(nearest.MovedToNearest, 2u);
  EXPECT_EQ(nearest.Picture.Index[64 * 3 + 4], 0) << "black, the nearest to #010203";
}

// Editors save a picture in whatever colour type and depth it has there;
// each sample is a palette colour's value, never light to convert.
TEST(PngReaderTest, EveryColorTypeAndDepthReadsTheColorsAsStored) {
  // Colours the palette holds twice among them (7 and 21, 95 and 96).
  const FramedPicture colors = Striped({1, 7, 21, 40, 95, 96, 130, 200, 254, 255});
  const FramedPicture greys = Striped({0, 8, 15, 27, 29, 160});
  struct Case {
    std::string name;
    std::vector<uint8_t> file;
    FramedPicture picture;
  };
  std::vector<Case> cases;
  const auto add = [&cases](const FramedPicture& picture, PngColor color, uint8_t depth, bool interlaced) {
    const std::string name = "colour type " + std::to_string(int(color)) + ", " + std::to_string(depth) +
                             " bits" + (interlaced ? ", interlaced" : "");
    PngPicture png = Saved(picture, color, depth);
    png.Interlaced = interlaced;
    cases.push_back({name, File(png), picture});
    // Chunks that say how to turn samples into light change nothing.
    png.Gama = 100000;
    png.Chrm = png.Iccp = true;
    cases.push_back({name + ", linear gAMA, cHRM and iCCP", File(png), picture});
    png.Gama = 45455;
    png.Chrm = png.Iccp = false;
    png.Srgb = true;
    cases.push_back({name + ", gAMA 1/2.2 and sRGB", File(png), picture});
  };
  for (uint8_t depth : {8, 16}) {
    for (bool interlaced : {false, true}) {
      add(greys, PngColor::Grey, depth, interlaced);
      add(greys, PngColor::GreyAlpha, depth, interlaced);
      add(colors, PngColor::Rgb, depth, interlaced);
      add(colors, PngColor::Rgba, depth, interlaced);
    }
  }
  add(Striped({40}), PngColor::Indexed, 1, false);
  add(Striped({40, 7, 200}), PngColor::Indexed, 2, true);
  add(Striped({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}), PngColor::Indexed, 4, false);
  add(colors, PngColor::Indexed, 8, false);
  cases.push_back({"RGBA, 16 bits, IDAT in pieces of 100 bytes",
                   SplitIdat(File(Saved(colors, PngColor::Rgba, 16)), 100), colors});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PictureRead read = ReadFramedPng(c.file, {&Palette(), false});
    ASSERT_EQ(read.Errors, std::vector<std::string>{});
    const FramedPicture expected = Lowest(c.picture);
    EXPECT_TRUE(read.Picture == expected);
  }
}

TEST(PngReaderTest, SamplesBelowEightBitsSpreadOverTheByte) {
  // 1-bit grey: black drawn, white the tRNS colour.
  PngPicture one;
  one.Color = PngColor::Grey;
  one.Depth = 1;
  one.Rows.resize(one.RowBytes() * 64);
  one.SetSample(3, 5, 1);
  one.TrnsColor = {{1, 0, 0}};
  const PictureRead read = ReadFramedPng(File(one), {&Palette(), false});
  ASSERT_EQ(read.Errors, std::vector<std::string>{});
  FramedPicture black;
  black.Opaque.fill(1);
  black.Opaque[64 * 5 + 3] = 0;
  EXPECT_TRUE(read.Picture == black);

  struct Case {
    uint8_t depth;
    uint32_t sample;
    const char* color;
  };
  for (const Case& c : {Case{1, 1, "#ffffff"}, Case{2, 2, "#aaaaaa"}, Case{4, 5, "#555555"}}) {
    PngPicture grey;
    grey.Color = PngColor::Grey;
    grey.Depth = c.depth;
    grey.Rows.resize(grey.RowBytes() * 64);
    grey.SetSample(2, 7, c.sample);
    EXPECT_EQ(ReadFramedPng(File(grey), {&Palette(), false}).Errors,
              std::vector<std::string>{"pixel (7, 2) has the colour " + std::string(c.color) +
                                       ", which is not in the palette"});
  }
}

TEST(PngReaderTest, SixteenBitSamplesRoundToTheNearerEightBitValue) {
  // A 16-bit sample between two 8-bit values is rounded to the nearer:
  // 44 x 257 + 128 is still 44, + 129 is 45 and so not in the palette.
  FramedPicture dark;
  dark.Index.fill(30);  // #2c2c2c
  dark.Opaque.fill(1);
  PngPicture near = Saved(dark, PngColor::Rgb, 16);
  near.SetSample(0, 0, 44 * 257 + 128);
  near.SetSample(1, 3 * 1 + 0, 44 * 257 + 129);
  EXPECT_EQ(ReadFramedPng(File(near), {&Palette(), false}).Errors,
            std::vector<std::string>{"pixel (1, 1) has the colour #2d2c2c, which is not in the palette"});
}

// The game's palette holds six colours twice; a picture saved as colours
// does not say which index a pixel had, and the base's picture does.
TEST(PngReaderTest, AColorThePaletteHoldsTwiceTakesTheBasesIndex) {
  const std::vector<int> twice{7, 21, 8, 27, 32, 55, 95, 96, 124, 249, 125, 253};
  FramedPicture texture;
  for (size_t at = 0; at < texture.Index.size(); ++at)
    texture.Index[at] = static_cast<uint8_t>(at % 3 ? twice[at % twice.size()] : at * 7 % 256);
  texture.Opaque.fill(1);
  const std::vector<uint8_t> rgb = File(Saved(texture, PngColor::Rgb, 8));
  PictureRead read = ReadFramedPng(rgb, {&Palette(), false, &texture});
  ASSERT_EQ(read.Errors, std::vector<std::string>{});
  EXPECT_EQ(read.Picture.Index, texture.Index);
  // Without a base, or where the base has another colour, the lowest index.
  read = ReadFramedPng(rgb, {&Palette(), false});
  EXPECT_EQ(read.Picture.Index, Lowest(texture).Index);
  FramedPicture black;
  black.Opaque.fill(1);
  read = ReadFramedPng(rgb, {&Palette(), false, &black});
  EXPECT_EQ(read.Picture.Index, Lowest(texture).Index);

  // A sprite edited: a hole drawn in a colour held twice and a drawn pixel
  // made a hole. The base's hole gives no index; the new hole stays one.
  const FramedPicture sprite = Striped(twice);
  const size_t hole =
      static_cast<size_t>(std::find(sprite.Opaque.begin(), sprite.Opaque.end(), 0) - sprite.Opaque.begin());
  FramedPicture edited = sprite;
  edited.Opaque[hole] = 1;
  edited.Index[hole] = 21;
  edited.Opaque[hole + 1] = 0;
  edited.Index[hole + 1] = 0;
  FramedPicture expected = edited;
  expected.Index[hole] = 7;
  for (PngColor color : {PngColor::Rgba, PngColor::Indexed}) {
    read = ReadFramedPng(File(Saved(edited, color, 8)), {&Palette(), false, &sprite});
    ASSERT_EQ(read.Errors, std::vector<std::string>{});
    EXPECT_TRUE(read.Picture == expected);
  }
}

TEST(PngReaderTest, PicturesOutsideTheFrameAreRefusedBeforeTheirPixelsAreRead) {
  PngPicture big = Saved(FramedPicture{}, PngColor::Rgba, 8);
  big.Width = big.Height = 65;
  big.Rows.assign(big.RowBytes() * 65, 0);
  EXPECT_EQ(ReadFramedPng(File(big), {&Palette(), false}).Errors,
            std::vector<std::string>{"the picture is 65 x 65 pixels; a framed picture is 64 x 64"});
  // A head that claims far more pixels than the file holds.
  std::vector<uint8_t> huge = File(Saved(FramedPicture{}, PngColor::Indexed, 8));
  WriteBe32(&huge[16], 1000000);
  WriteBe32(&huge[20], 2000000);
  FixCrc(huge, 8);
  EXPECT_EQ(ReadFramedPng(huge, {&Palette(), false}).Errors,
            std::vector<std::string>{"the picture is 1000000 x 2000000 pixels; a framed picture is 64 x 64"});
}

TEST(PngReaderTest, DamagedPngsAreRefusedSayingWhatIsWrong) {
  const FramedPicture sprite = Striped({5, 6});
  const std::vector<uint8_t> good = File(Saved(sprite, PngColor::Indexed, 8));
  struct Case {
    std::string name;
    std::vector<uint8_t> file;
    std::string error;
  };
  std::vector<Case> cases;
  const auto damaged = [&cases](std::string name, std::vector<uint8_t> file, const std::string& what) {
    cases.push_back({std::move(name), std::move(file), "the PNG picture is damaged: " + what});
  };
  for (const char* type : {"tRNS", "IDAT", "IEND"}) {
    std::vector<uint8_t> file = good;
    file[ChunkAt(file, type) + 8 + ReadBe32(&file[ChunkAt(file, type)])] ^= 1;
    damaged(std::string("CRC of ") + type, file, std::string("the CRC of its ") + type + " chunk is wrong");
  }

  const auto cut = [&good](size_t size) {
    return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(size));
  };
  cases.push_back({"cut in the signature", cut(7), "not a PNG picture: the file does not start as one"});
  damaged("cut in IHDR", cut(20), "it ends inside its IHDR chunk");
  damaged("cut in IDAT", cut(ChunkAt(good, "IDAT") + 20), "it ends inside its IDAT chunk");
  damaged("cut before IEND", cut(good.size() - 12), "it ends before its IEND chunk");
  damaged("cut in IEND", cut(good.size() - 1), "it ends inside its IEND chunk");

  std::vector<uint8_t> noIdat = good;
  const size_t idat = ChunkAt(good, "IDAT");
  noIdat.erase(noIdat.begin() + static_cast<ptrdiff_t>(idat),
               noIdat.begin() + static_cast<ptrdiff_t>(idat + 12 + ReadBe32(&good[idat])));
  damaged("no IDAT", noIdat, "it has no IDAT chunk");
  std::vector<uint8_t> zlib = good;
  zlib[idat + 8] = 0;  // the zlib head's method
  FixCrc(zlib, idat);
  damaged("zlib data", zlib, "its image data cannot be unpacked (IDAT stream error)");
  // The rows of a picture one row shorter under a head that says 64.
  PngPicture short_ = Saved(sprite, PngColor::Indexed, 8);
  short_.Height = 63;
  short_.Rows.resize(short_.RowBytes() * 63);
  std::vector<uint8_t> rows = File(short_);
  WriteBe32(&rows[20], 64);
  FixCrc(rows, 8);
  damaged("a row short", rows, "its image data end before its last row");
  // tRNS with more entries than the PLTE has.
  PngPicture four = Saved(Striped({1, 2, 3}), PngColor::Indexed, 4);
  four.TrnsAlpha.reset();
  damaged("tRNS past the PLTE", WithChunk(File(four), "IDAT", "tRNS", std::vector<uint8_t>(20, 0)),
          "its tRNS chunk does not fit the picture");
  damaged("tRNS after IDAT", WithChunk(File(four), "IEND", "tRNS", {0}),
          "its tRNS chunk does not fit the picture");

  // Indices past the end of a short PLTE, which read as nothing.
  PngPicture past = Saved(Striped({1, 2, 3}), PngColor::Indexed, 8);
  past.Plte.resize(16);
  past.TrnsAlpha.reset();
  past.SetSample(3, 5, 200);
  past.SetSample(9, 9, 16);
  cases.push_back(
      {"index past the PLTE", File(past),
       "pixel (5, 3) has index 200, but the PLTE has only 16 colours (and 1 more pixels of indices "
       "past the PLTE)"});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadFramedPng(c.file, {&Palette(), false}).Errors, std::vector<std::string>{c.error});
  }
}

// pack_test packs the exporter's texture BMPs back to the same chunks.
TEST(PictureReaderTest, OnlyWholeBmpsOfTheFrameAreRead) {
  Palette();  // loads the head that every element bitmap starts with
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
