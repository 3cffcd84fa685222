// The bundled sample as the viewer loads it.
#include <gtest/gtest.h>

#include <bitset>
#include <vector>

#include "pagefile/wlfile.h"

namespace {

std::vector<uint8_t> Bytes(const RWlChunk& chunk) {
  std::vector<uint8_t> out(chunk.Size);
  ByteViewStream data(chunk.Data);
  out.resize(data.Read(out.data(), out.size()));
  return out;
}

uint16_t Word(const std::vector<uint8_t>& bytes, size_t at) {
  return at + 1 < bytes.size() ? static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8) : 0;
}

class Sample : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadPageFile(file_, TESSARINE_SAMPLE_FILE); }
  static RWlFile file_;
};
RWlFile Sample::file_;

TEST_F(Sample, FillsEverySection) {
  ASSERT_EQ(file_.Chunks.size(), 545u);
  EXPECT_EQ(file_.TextureCount, 106);
  EXPECT_EQ(file_.SpriteCount, 435);
  EXPECT_EQ(file_.UnknownCount, 4);
  EXPECT_EQ(file_.TextureBytes, 106 * 4096);
  EXPECT_GT(file_.UnknownBytes, 0);
  EXPECT_GT(file_.FileSize, 500000);
}

TEST_F(Sample, TexturesArePicturesNotFlatFills) {
  for (uint32_t i = 0; i < TextureChunks; ++i) {
    const std::vector<uint8_t> bytes = Bytes(file_.Chunks[i]);
    ASSERT_EQ(bytes.size(), 4096u) << "texture " << i;
    std::bitset<256> used;
    for (uint8_t b : bytes) used.set(b);
    EXPECT_GE(used.count(), 4u) << "texture " << i;
  }
}

// Every sprite is well formed: its columns within the frame, each run list
// inside the chunk and its runs inside rows 0 to 63, and the pixel pool
// exactly as long as the runs need.
TEST_F(Sample, SpritesAreWellFormedAndVaried) {
  std::bitset<65> widths;
  for (uint32_t i = TextureChunks; i < TextureChunks + SpriteChunks; ++i) {
    const std::vector<uint8_t> bytes = Bytes(file_.Chunks[i]);
    const uint16_t first = Word(bytes, 0);
    const uint16_t last = Word(bytes, 2);
    ASSERT_LE(first, last) << "sprite " << i;
    ASSERT_LT(last, 64) << "sprite " << i;
    const size_t w = last - first + 1u;
    widths.set(w);
    size_t pixels = 0;
    for (size_t c = 0; c < w; ++c) {
      size_t at = Word(bytes, 4 + 2 * c);
      ASSERT_GE(at, 4 + 2 * w) << "sprite " << i;
      for (uint16_t end; (end = Word(bytes, at)) != 0; at += 6) {
        const uint16_t start = Word(bytes, at + 4);
        ASSERT_LT(start, end) << "sprite " << i;
        ASSERT_LE(end, 128) << "sprite " << i;
        pixels += (end - start) / 2u;
      }
      ASSERT_LT(at + 1, bytes.size()) << "sprite " << i << " column " << c;
    }
    EXPECT_GT(pixels, 20u) << "sprite " << i;
    EXPECT_LE(4 + 2 * w + pixels, bytes.size()) << "sprite " << i;
  }
  EXPECT_GE(widths.count(), 20u);
}

}  // namespace
