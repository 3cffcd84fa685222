// Framed pictures and contact sheets, read back through
// libspng's decoder and plain parsing.
#include "imaging/framedpng.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "imaging/bmptemplate.h"
#include "imaging/framing.h"
#include "pagefiles.h"
#include "pagewriter.h"
#include "pngfile.h"

namespace {

// The file as it stores its samples; a failure if libspng cannot read it.
PngPicture Decoded(const std::vector<uint8_t>& file) {
  std::optional<PngPicture> png = DecodePngFile(file);
  EXPECT_TRUE(png) << "libspng cannot read the file";
  return png.value_or(PngPicture{});
}

std::vector<std::array<uint8_t, 3>> PlteOf(const Palette& palette) {
  std::vector<std::array<uint8_t, 3>> plte;
  for (const Rgb& c : palette) plte.push_back({c.R, c.G, c.B});
  return plte;
}

class FramingTest : public ::testing::Test {
 protected:
  void SetUp() override { InitBmpTemplate(); }

  // The framed PNG of a chunk as a picture of indices, -1 where it is
  // transparent. `transparent` receives the index that tRNS marks.
  static SpritePicture Framed(const std::vector<uint8_t>& chunk, SectionKind section,
                              int* transparent = nullptr) {
    SCOPED_TRACE("framed picture");
    std::vector<uint8_t> file;
    std::string error;
    bool rgba = true;
    EXPECT_TRUE(EncodeFramedPng(FrameElement(chunk, section), BuiltInPalette(), file, rgba, error)) << error;
    EXPECT_FALSE(rgba);
    const PngPicture png = Decoded(file);
    EXPECT_TRUE(png.Width == 64 && png.Height == 64 && png.Depth == 8 && png.Color == PngColor::Indexed &&
                !png.Interlaced);
    EXPECT_TRUE(PlteOf(BuiltInPalette()) == png.Plte);
    // At most one entry is transparent, and fully so.
    const std::vector<uint8_t> trns = png.TrnsAlpha.value_or(std::vector<uint8_t>{});
    const int hole = static_cast<int>(trns.size()) - 1;  // tRNS ends at the transparent entry
    EXPECT_TRUE(trns.empty() || (trns.back() == 0 && std::count(trns.begin(), trns.end(), 255) == hole));
    if (transparent) *transparent = hole;
    SpritePicture out = BlankSprite();
    if (png.Rows.size() != 64 * 64) return out;
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 64; ++y) {
        const uint8_t index = png.Rows[static_cast<size_t>(y * 64 + x)];
        out[x][y] = index == hole ? int16_t{-1} : int16_t{index};
      }
    return out;
  }
  static SpritePicture Sprite(const std::vector<uint8_t>& chunk, int* transparent = nullptr) {
    return Framed(chunk, SectionKind::Sprite, transparent);
  }
};

// Runs from `top` in frame column x of `picture`; -1 entries are holes.
void Put(SpritePicture& picture, int x, int top, std::initializer_list<int> pixels) {
  for (int p : pixels) picture[x][top++] = static_cast<int16_t>(p);
}

TEST_F(FramingTest, TexturesAreOpaqueAndKeepEveryIndex) {
  TexturePicture texture{};
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) texture[x][y] = static_cast<uint8_t>(x * 64 + y + x / 16);
  int hole = 0;
  const SpritePicture framed = Framed(EncodeTexture(texture), SectionKind::Texture, &hole);
  EXPECT_EQ(hole, -1) << "an opaque picture has no transparent entry";
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) ASSERT_EQ(framed[x][y], texture[x][y]) << x << "," << y;
}

TEST_F(FramingTest, SpritesStandAtTheirColumnsWithTheirHolesTransparent) {
  struct Case {
    const char* name;
    SpritePicture picture;
    int transparent;
  };
  std::vector<Case> cases;
  SpritePicture left = BlankSprite();
  Put(left, 0, 0, {5, 6, 7});
  Put(left, 2, 60, {0, 0, 9, 9});  // index 0 drawn stays black, not a hole
  cases.push_back({"first column 0, black run", left, 255});
  SpritePicture right = BlankSprite();
  Put(right, 63, 10, {1, 2});
  Put(right, 63, 20, {0});
  cases.push_back({"column 63 alone", right, 255});
  SpritePicture busy = BlankSprite();
  for (int x = 10; x < 54; ++x)
    for (int y = (x % 3) * 4; y < 64; y += 2) busy[x][y] = static_cast<int16_t>((x * 64 + y) % 256);
  busy[30][1] = 255;
  cases.push_back({"uses 255 and 254 too", busy, 253});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int hole = 0;
    const SpritePicture framed = Sprite(EncodeSprite(c.picture), &hole);
    EXPECT_EQ(std::tuple(hole, framed), std::tuple(c.transparent, c.picture));
  }
}

TEST_F(FramingTest, APictureUsingEveryIndexWithHolesIsRgba) {
  SpritePicture all = BlankSprite();
  for (int i = 0; i < 256; ++i) all[4 + i / 64][i % 64] = static_cast<int16_t>(i);
  std::vector<uint8_t> file;
  std::string error;
  bool rgba = false;
  ASSERT_TRUE(EncodeFramedPng(FrameElement(EncodeSprite(all), SectionKind::Sprite), BuiltInPalette(), file,
                              rgba, error));
  EXPECT_TRUE(rgba);
  const PngPicture png = Decoded(file);
  EXPECT_EQ(std::tuple(png.Color, png.Depth), std::tuple(PngColor::Rgba, 8));
  ASSERT_EQ(png.Rows.size(), 64u * 64 * 4);
  const Palette palette = BuiltInPalette();
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) {
      const uint8_t* p = &png.Rows[static_cast<size_t>((y * 64 + x) * 4)];
      const Rgb expected = all[x][y] < 0 ? Rgb{} : palette[static_cast<size_t>(all[x][y])];
      ASSERT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}),
                (std::vector<int>{expected.R, expected.G, expected.B, all[x][y] < 0 ? 0 : 255}))
          << x << "," << y;
    }
}

// Damaged sprites draw what the decoder draws of them: decoder_test checks
// the walk over their runs that both share. The frame places the columns and
// clips those past its edge.

TEST_F(FramingTest, DamagedSpritesAreClippedAtTheFramesEdge) {
  struct Case {
    const char* name;
    std::vector<uint8_t> chunk;
    SpritePicture expected;
  };
  // Columns from 40: those past 63 are clipped, and ones from 65,535 show nothing.
  SpritePicture wide = BlankSprite();
  for (int x = 40; x < 64; ++x) wide[x][x - 40] = static_cast<int16_t>(x);
  std::vector<std::vector<RawRun>> columns(40);
  std::vector<uint8_t> pool;
  for (int c = 0; c < 40; ++c) {
    // Row c reads pool byte c: the pool starts after the 40 column offsets.
    columns[static_cast<size_t>(c)] = {
        {static_cast<uint16_t>(2 * c + 2), 4 + 80, static_cast<uint16_t>(2 * c)}};
    pool.push_back(static_cast<uint8_t>(40 + c));
  }
  const Case cases[] = {
      {"columns past 63", EncodeSpriteRuns(40, 79, columns, pool), wide},
      {"columns from 65,535", EncodeSpriteRuns(0xFFFF, 0xFFFF, {{{2, 0, 0}}}, {9}), BlankSprite()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int hole = 0;
    const SpritePicture framed = Sprite(c.chunk, &hole);
    EXPECT_EQ(std::tuple(hole, framed), std::tuple(255, c.expected));
  }
}

TEST_F(FramingTest, ATruncatedSpriteDrawsPartOfItsPictureAndNothingElse) {
  SpritePicture picture = BlankSprite();
  for (int x = 10; x < 30; ++x)
    for (int y = x; y < x + 20; ++y) picture[x][y] = static_cast<int16_t>(x + y);
  const std::vector<uint8_t> whole = EncodeSprite(picture);
  size_t partly = 0;  // cuts that draw some of the picture but not all
  for (size_t size = 0; size <= whole.size(); ++size) {
    // A copy of just the bytes left, so that reading past them is caught.
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    const FramedPicture f = FrameElement(cut, SectionKind::Sprite);
    size_t drawn = 0;
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 64; ++y) {
        const size_t at = static_cast<size_t>(x * 64 + y);
        // Pixels whose bytes are cut off read as 0.
        if (f.Opaque[at]) {
          ++drawn;
          ASSERT_TRUE(picture[x][y] >= 0 && (f.Index[at] == picture[x][y] || f.Index[at] == 0))
              << size << ": " << x << "," << y;
        }
      }
    partly += drawn > 0 && drawn < 400;
    if (size == whole.size()) {
      EXPECT_EQ(drawn, 400u);
      EXPECT_EQ(f.Index[15 * 64 + 20], 35);
    }
  }
  EXPECT_GT(partly, 0u);
}

TEST_F(FramingTest, SheetsPutCellsSixteenARowWithTransparentGaps) {
  std::vector<FramedPicture> cells(17);
  for (size_t n = 0; n < cells.size(); ++n) {
    cells[n].Index[0] = static_cast<uint8_t>(n + 1);  // top left pixel drawn
    cells[n].Opaque[0] = 1;
    cells[n].Index[64 * 63 + 63] = 4;  // bottom right an undrawn index
  }
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(EncodeSheetPng(cells, BuiltInPalette(), file, error)) << error;
  const PngPicture png = Decoded(file);
  EXPECT_EQ(std::tuple(png.Color, png.Depth), std::tuple(PngColor::Rgba, 8));
  ASSERT_EQ(png.Width, 16u * 64 + 15 * 2);
  ASSERT_EQ(png.Height, 2u * 64 + 2);
  const Palette palette = BuiltInPalette();
  const auto pixel = [&](size_t x, size_t y) {
    const uint8_t* p = &png.Rows[(y * png.Width + x) * 4];
    return std::vector<int>{p[0], p[1], p[2], p[3]};
  };
  // Only the drawn pixels are opaque: not the gaps, nor cells' undrawn indices.
  size_t opaque = 0;
  for (size_t i = 3; i < png.Rows.size(); i += 4) opaque += png.Rows[i] != 0;
  EXPECT_EQ(opaque, 17u);
  for (size_t n = 0; n < cells.size(); ++n) {
    const Rgb c = palette[n + 1];
    EXPECT_EQ(pixel(n % 16 * 66, n / 16 * 66), (std::vector<int>{c.R, c.G, c.B, 255})) << n;
  }
}

}  // namespace
