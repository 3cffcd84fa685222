#include "base/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "base/bytes.h"
#include "base/streams.h"
#include "bmpfile.h"

namespace {

// Both ways of loading: copying the bytes, and taking a stream's.
enum class Way { Copy, Take };

bool Load(Bitmap& bmp, const std::vector<uint8_t>& bytes, Way way = Way::Copy) {
  if (way == Way::Copy) return bmp.LoadFromBytes(bytes);
  MemoryStream s;
  s.Write(bytes.data(), bytes.size());
  s.Seek(0, SeekOrigin::Begin);
  return bmp.TakeFromStream(s);
}

TEST(Bitmap, LoadsAnEightBitImageWithItsOwnColorTable) {
  Bitmap bmp;
  ASSERT_TRUE(Load(bmp, BmpFile(3, 2, 8, 256, 8)));
  EXPECT_EQ((std::vector<int32_t>{bmp.Width(), bmp.Height(), bmp.Stride()}), (std::vector<int32_t>{3, 2, 4}));
  EXPECT_EQ(bmp.Info().size(), 40u + 1024u);
  EXPECT_EQ(bmp.Info()[40 + 4 * 7], 7);
  // Row 0 in the stream is the bottom row.
  EXPECT_EQ((std::vector<int>{bmp.PixelIndex(0, 1), bmp.PixelIndex(2, 0), bmp.PixelIndex(3, 0)}),
            (std::vector<int>{0, 6, -1}));
}

TEST(Bitmap, ZeroWidthIsAValidEmptyPicture) {
  Bitmap bmp;
  ASSERT_TRUE(Load(bmp, BmpFile(0, 64, 8, 256, 0)));
  EXPECT_EQ(std::tuple(bmp.Width(), bmp.Height(), bmp.Bits().size(), bmp.Empty()),
            std::tuple(0, 64, 0u, false));
}

TEST(Bitmap, RejectsMalformedImagesWithoutReadingPastTheStream) {
  // A one-pixel image with its 32-bit field at `at` set to `value`.
  const auto with = [](size_t at, uint32_t value) {
    std::vector<uint8_t> b = BmpFile(1, 1, 8, 0, 4);
    WriteLe32(&b[at], value);
    return b;
  };
  std::vector<uint8_t> cut = BmpFile(1, 1, 8, 0, 4), notBm = cut;
  cut.resize(30);
  notBm[0] = 'X';
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {{"truncated rows", BmpFile(64, 64, 8, 256, 4095)},
               {"truncated header", cut},
               {"signature", notBm},
               {"offset inside the headers", with(10, 10)},
               {"table too large", with(10, 54 + 257 * 4)},
               {"compressed", with(30, 1)},
               {"bit depth", BmpFile(1, 1, 7, 0, 4)},
               {"huge width", BmpFile(0x7FFFFFFF, 1, 8, 0, 4)},
               {"negative width", BmpFile(-4, 1, 8, 0, 4)},
               {"huge height", BmpFile(1, INT32_MIN, 8, 0, 4)}};
  for (const auto& c : cases) {
    for (Way way : {Way::Copy, Way::Take}) {
      Bitmap bmp;
      ASSERT_TRUE(Load(bmp, BmpFile(1, 1, 8, 256, 4), way));
      EXPECT_FALSE(Load(bmp, c.bytes, way)) << c.what;
      EXPECT_EQ(std::tuple(bmp.Empty(), bmp.Width(), bmp.Height(), bmp.Bits().size()),
                std::tuple(true, 0, 0, 0u))
          << c.what;
    }
  }
}

TEST(Bitmap, TakingAStreamsBytesGivesTheSamePictureAndEmptiesTheStream) {
  // The image starts after three bytes that are not part of it.
  std::vector<uint8_t> bytes = {7, 7, 7};
  const std::vector<uint8_t> image = BmpFile(3, 2, 8, 256, 8);
  bytes.insert(bytes.end(), image.begin(), image.end());
  MemoryStream s;
  s.Write(bytes.data(), bytes.size());
  s.Seek(3, SeekOrigin::Begin);
  Bitmap taken;
  ASSERT_TRUE(taken.TakeFromStream(s));
  EXPECT_EQ(std::tuple(s.Size(), s.Position()), std::tuple(0, 0));

  // Both ways set the sizes from the same parsed head; the same head, rows
  // and pixel show that the right bytes were taken.
  Bitmap copied;
  ASSERT_TRUE(Load(copied, image));
  EXPECT_TRUE(std::ranges::equal(taken.Info(), copied.Info()) &&
              std::ranges::equal(taken.Bits(), copied.Bits()));
  EXPECT_EQ(taken.PixelIndex(2, 0), 6);
}

// Taking falls back to copying, which pads the table to its full depth.
TEST(Bitmap, AShortColorTableIsCopiedNotTakenAndPaddedToTheFullDepth) {
  std::vector<uint8_t> image = BmpFile(4, 1, 8, 2, 4);
  WriteLe32(&image[46], 2);  // biClrUsed
  MemoryStream s;
  s.Write(image.data(), image.size());
  s.Seek(0, SeekOrigin::Begin);
  Bitmap bmp;
  ASSERT_TRUE(bmp.TakeFromStream(s));
  EXPECT_EQ(s.Size(), static_cast<int64_t>(image.size())) << "the stream keeps its bytes";
  EXPECT_EQ(bmp.Info().size(), 40u + 1024u);
  EXPECT_EQ(ReadLe32(bmp.Info().data() + 32), 0u) << "the whole table is there now";
  EXPECT_EQ(bmp.Info()[40 + 4], 1);
  EXPECT_TRUE(std::all_of(bmp.Info().begin() + 48, bmp.Info().end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(bmp.PixelIndex(3, 0), 3);
}

TEST(Bitmap, TopDownAndTrueColorImagesLoad) {
  Bitmap top;
  ASSERT_TRUE(Load(top, BmpFile(4, -2, 8, 256, 8)));
  EXPECT_EQ(top.Height(), 2);
  EXPECT_EQ(top.PixelIndex(0, 0), 0) << "first stored row is the top";
  Bitmap rgb;
  ASSERT_TRUE(Load(rgb, BmpFile(2, 2, 24, 0, 16)));
  EXPECT_EQ(rgb.Stride(), 8);
  EXPECT_EQ(rgb.Info().size(), 40u);
}

}  // namespace
