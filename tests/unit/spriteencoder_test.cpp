#include "imaging/spriteencoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/pagelayout.h"
#include "pagewriter.h"
#include "winlayer/bytes.h"
#include "winlayer/streams.h"

namespace {

// Reads a sprite chunk the game's way: each run's pixels lie at its source
// word plus the row, so a wrong word shows wrong pixels here, never in the
// viewer's decoder. Positions outside the chunk fail the test.
FramedPicture GameDecode(const std::vector<uint8_t>& chunk) {
  FramedPicture picture;
  const int first = ReadLe16(chunk.data());
  const int last = ReadLe16(chunk.data() + 2);
  for (int x = first; x <= last; ++x) {
    for (size_t at = ReadLe16(chunk.data() + 4 + 2 * (x - first)); ReadLe16(chunk.data() + at) != 0;
         at += 6) {
      const int end = ReadLe16(chunk.data() + at) / 2;
      const uint16_t source = ReadLe16(chunk.data() + at + 2);
      for (int y = ReadLe16(chunk.data() + at + 4) / 2; y < end; ++y) {
        const size_t from = static_cast<uint16_t>(source + y);
        EXPECT_LT(from, chunk.size()) << "column " << x << " row " << y;
        if (from >= chunk.size()) return picture;
        picture.Index[static_cast<size_t>(x * 64 + y)] = chunk[from];
        picture.Opaque[static_cast<size_t>(x * 64 + y)] = 1;
      }
    }
  }
  return picture;
}

// Pixels of a decoded BMP image, column x of the image at frame column
// `first + x`; a hole shows index 0.
FramedPicture ViewerDecode(const std::vector<uint8_t>& chunk) {
  InitBmpTemplate();
  MemoryStream data;
  data.Write(chunk.data(), chunk.size());
  MemoryStream image;
  WriteElementImage(data, SectionKind::Sprite, image);
  const uint8_t* bmp = image.Bytes().data();
  const int width = static_cast<int>(ReadLe32(bmp + 18));
  const int rowBytes = (width + 3) / 4 * 4;
  FramedPicture picture;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < 64; ++y)
      picture.Index[static_cast<size_t>((ReadLe16(chunk.data()) + x) * 64 + y)] =
          bmp[BmpHeadSize + static_cast<size_t>((63 - y) * rowBytes + x)];
  return picture;
}

// Encodes `picture` and checks that the game and the viewer read it back,
// and that the chunk is laid out as the game's are.
std::vector<uint8_t> ExpectRoundTrip(const FramedPicture& picture) {
  const std::vector<uint8_t> chunk = EncodeSpriteChunk(picture);
  const FramedPicture game = GameDecode(chunk);
  EXPECT_EQ(game.Opaque, picture.Opaque);
  FramedPicture drawn = picture;
  for (size_t i = 0; i < drawn.Index.size(); ++i)
    if (!drawn.Opaque[i]) drawn.Index[i] = 0;
  EXPECT_EQ(game.Index, drawn.Index) << "the game's reading";
  EXPECT_EQ(ViewerDecode(chunk).Index, drawn.Index) << "the viewer's reading";

  // Table, pool, one pad byte when the pool is odd, then the lists back to
  // back up to the chunk's end.
  const size_t columns = size_t{ReadLe16(chunk.data() + 2)} - ReadLe16(chunk.data()) + 1;
  size_t pool = 0;
  for (uint8_t o : picture.Opaque) pool += o;
  const size_t listsAt = 4 + 2 * columns + pool + pool % 2;
  if (pool % 2) EXPECT_EQ(chunk[listsAt - 1], 0);
  size_t at = listsAt;
  for (size_t c = 0; c < columns; ++c) {
    EXPECT_EQ(ReadLe16(chunk.data() + 4 + 2 * c), at) << "column " << c;
    while (ReadLe16(chunk.data() + at) != 0) at += 6;
    at += 2;
  }
  EXPECT_EQ(at, chunk.size());
  return chunk;
}

FramedPicture Blank() { return {}; }

void Draw(FramedPicture& p, int x, int y, uint8_t index) {
  p.Index[static_cast<size_t>(x * 64 + y)] = index;
  p.Opaque[static_cast<size_t>(x * 64 + y)] = 1;
}

TEST(SpriteEncoderTest, AwkwardShapesComeBackForTheGameAndTheViewer) {
  // Columns 0 and 63 with nothing between them but one pixel; runs at rows 0
  // and 63; a full column; indices 0 and 255 opaque; an odd pool.
  FramedPicture wide = Blank();
  Draw(wide, 0, 0, 0);
  Draw(wide, 0, 63, 255);
  for (int y = 0; y < 64; ++y) Draw(wide, 63, y, static_cast<uint8_t>(y * 4));
  Draw(wide, 30, 10, 7);
  const std::vector<uint8_t> chunk = ExpectRoundTrip(wide);
  EXPECT_EQ(ReadLe16(chunk.data()), 0);
  EXPECT_EQ(ReadLe16(chunk.data() + 2), 63);
  EXPECT_EQ(chunk.size(), 4 + 2 * 64 + 67 + 1 + 4 * 6 + 64 * 2u);

  // An even pool, gaps inside columns, a run starting deep below the pool's
  // start (its source word wraps below 0).
  FramedPicture gaps = Blank();
  for (int y = 60; y < 64; ++y) Draw(gaps, 5, y, 1);
  for (int y : {2, 3, 9, 20, 21, 22}) Draw(gaps, 7, y, static_cast<uint8_t>(y));
  ExpectRoundTrip(gaps);

  // The largest sprite: every other pixel in every column.
  FramedPicture checks = Blank();
  for (int x = 0; x < 64; ++x)
    for (int y = x % 2; y < 64; y += 2) Draw(checks, x, y, static_cast<uint8_t>(x + y));
  EXPECT_GT(ExpectRoundTrip(checks).size(), MaxSpriteChunkSize);
}

TEST(SpriteEncoderTest, ABlankSpriteIsOneColumnWithNoRuns) {
  EXPECT_EQ(EncodeSpriteChunk(Blank()),
            (std::vector<uint8_t>{BlankSpriteColumn, 0, BlankSpriteColumn, 0, 6, 0, 0, 0}));
}

// The writer's own layout in the game's way is built independently of the
// one pack uses, so each checks the other.
TEST(PageLayoutTest, ChunksLieOnPageBoundariesAsTheWritersDo) {
  PageFileLayout layout;
  layout.Align = 512;
  layout.FirstSprite = 3;
  layout.FirstSound = 5;
  for (size_t size : {512u, 0u, 1u, 4096u, 0u, 700u, 511u, 513u})
    layout.Chunks.push_back({std::vector<uint8_t>(size, static_cast<uint8_t>(size + 1)), {}, {}});
  std::vector<LaidOutChunk> chunks;
  for (const PageChunk& c : layout.Chunks) chunks.push_back({c.Bytes, true});
  const auto file = LayOutPageFile({99, 3, 5}, chunks);
  ASSERT_TRUE(file);
  EXPECT_EQ(*file, BuildPageFile(layout));
  EXPECT_EQ(ReadLe32(file->data() + 6), 512u) << "the first chunk after the tables";
  EXPECT_EQ(ReadLe32(file->data() + 6 + 4 * 4), 0u) << "an empty chunk at offset 0";

  // An empty chunk that had an offset keeps one: where the next chunk starts.
  chunks[1].ZeroOffsetWhenEmpty = false;
  const auto placed = LayOutPageFile({}, chunks);
  ASSERT_TRUE(placed);
  EXPECT_EQ(ReadLe32(placed->data() + 6 + 4), 1024u);
  EXPECT_EQ(ReadLe32(placed->data() + 6 + 8), 1024u);

  const std::vector<uint8_t> tooLong(65536);
  EXPECT_FALSE(LayOutPageFile({}, std::vector<LaidOutChunk>{{tooLong, false}}));
}

}  // namespace
