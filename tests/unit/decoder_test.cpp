#include "imaging/decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "pagefiles.h"
#include "pagewriter.h"

namespace {

// `size` bytes, the first `stored` of them from `bytes`.
ByteView ViewOf(const std::vector<uint8_t>& bytes, size_t stored, size_t size) {
  return {bytes.data(), static_cast<uint32_t>(stored), static_cast<uint32_t>(size)};
}

// A BMP image as the decoder wrote it, with its colour count.
struct Decoded {
  std::vector<uint8_t> Bytes;
  uint16_t Colors = 0;

  int32_t Width() const { return static_cast<int32_t>(ReadLe32(Bytes.data() + 18)); }
  int32_t RowBytes() const { return (Width() + 3) / 4 * 4; }
  // Palette index at column x, row y from the top.
  int Pixel(int32_t x, int32_t y) const {
    return Bytes.at(BmpHeadSize + static_cast<size_t>((63 - y) * RowBytes() + x));
  }
  // Column x from the top, as 64 indices.
  std::vector<uint8_t> Column(int32_t x) const {
    std::vector<uint8_t> out;
    for (int y = 0; y < 64; ++y) out.push_back(static_cast<uint8_t>(Pixel(x, y)));
    return out;
  }
};

class DecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { InitBmpTemplate(); }

  static Decoded Decode(const std::vector<uint8_t>& chunk, SectionKind section) {
    SCOPED_TRACE("Decode");
    MemoryStream image;
    Decoded d;
    d.Colors = WriteElementImage(ViewOf(chunk, chunk.size(), chunk.size()), section, image);
    d.Bytes.assign(image.Bytes().begin(), image.Bytes().end());
    // Whatever the chunk held, the image is a complete BMP of 64 rows.
    EXPECT_EQ(d.Bytes.size(), ReadLe32(d.Bytes.data() + 2)) << "bfSize";
    EXPECT_EQ(d.Bytes.size(), BmpHeadSize + 64u * static_cast<size_t>(d.RowBytes()));
    EXPECT_EQ(ReadLe32(d.Bytes.data() + 22), 64u);
    EXPECT_TRUE(std::equal(BmpTemplate.begin(), BmpTemplate.end(), d.Bytes.begin()))
        << "the head is the template, set for this image";
    return d;
  }
  static Decoded Texture(const std::vector<uint8_t>& chunk) { return Decode(chunk, SectionKind::Texture); }
  static Decoded Sprite(const std::vector<uint8_t>& chunk) { return Decode(chunk, SectionKind::Sprite); }
};

// A column of index 0 with runs of pixels from the given rows down.
std::vector<uint8_t> Rows(std::initializer_list<std::pair<int, std::vector<uint8_t>>> runs) {
  std::vector<uint8_t> column(64, 0);
  for (const auto& [top, pixels] : runs) std::copy(pixels.begin(), pixels.end(), column.begin() + top);
  return column;
}

// n bytes counting up from `from`.
std::vector<uint8_t> Ramp(size_t n, uint8_t from) {
  std::vector<uint8_t> out(n);
  std::iota(out.begin(), out.end(), from);
  return out;
}

TEST_F(DecoderTest, TextureBytesGoDownEachColumnFromTheTopLeft) {
  std::vector<uint8_t> chunk(4096);
  for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<uint8_t>(i * 7 + i / 256);
  const Decoded d = Texture(chunk);
  ASSERT_EQ(d.Width(), 64);
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) ASSERT_EQ(d.Pixel(x, y), chunk[static_cast<size_t>(x * 64 + y)]);
  EXPECT_EQ(d.Colors, 256);
}

TEST_F(DecoderTest, TextureColorsCountTheIndicesOfTheFirst4096BytesAndIgnoreTheRest) {
  std::vector<uint8_t> chunk(4096, 0);
  EXPECT_EQ(Texture(chunk).Colors, 1) << "index 0 counts where the chunk holds it";
  chunk[4095] = 6;
  const Decoded plain = Texture(chunk);
  EXPECT_EQ(plain.Colors, 2);
  chunk.resize(5000, 200);
  const Decoded longer = Texture(chunk);
  EXPECT_EQ(longer.Bytes, plain.Bytes);
  EXPECT_EQ(longer.Colors, 2);
}

TEST_F(DecoderTest, ShortTexturesShowIndexZeroWhereTheChunkEndsAndDoNotCountIt) {
  const Decoded empty = Texture({});
  EXPECT_EQ(std::tuple(empty.Bytes.size(), empty.Colors), std::tuple(5174u, 0));
  EXPECT_TRUE(
      std::all_of(empty.Bytes.begin() + BmpHeadSize, empty.Bytes.end(), [](uint8_t b) { return b == 0; }));

  // 100 bytes: column 0 whole, then rows 0 to 35 of column 1.
  const Decoded cut = Texture(Ramp(100, 1));
  EXPECT_EQ(cut.Column(0), Ramp(64, 1));
  EXPECT_EQ(cut.Column(1), Rows({{0, Ramp(36, 65)}}));
  EXPECT_EQ(cut.Column(2), std::vector<uint8_t>(64, 0));
  EXPECT_EQ(cut.Colors, 100);
}

TEST_F(DecoderTest, SpritesOfEveryWidthShowTheirPictureFromTheFirstColumnAndPadRowsWithZeros) {
  // Each width ends at the frame's last column; holes in every column, and
  // one in the middle without runs.
  for (int width = 1; width <= 64; ++width) {
    const int first = 64 - width;
    SpritePicture picture = BlankSprite();
    for (int x = first; x < 64; ++x)
      for (int y = 0; y < 64; ++y)
        if ((x * 3 + y) % 5 != 0) picture[x][y] = static_cast<int16_t>(1 + (x * 7 + y * 3) % 250);
    if (width > 2) picture[first + width / 2].fill(-1);
    const Decoded d = Sprite(EncodeSprite(picture));
    ASSERT_EQ(d.Width(), width);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < d.RowBytes(); ++x)
        ASSERT_EQ(d.Pixel(x, y), x < width ? std::max<int>(0, picture[first + x][y]) : 0)
            << "width " << width << " at " << x << "," << y;
    }
  }
}

// The source word of a run whose top row `top` reads byte `k` of the pool
// of a sprite of `columns` columns made by EncodeSpriteRuns.
uint16_t Source(size_t columns, size_t k, int top) {
  return static_cast<uint16_t>(4 + 2 * columns + k - static_cast<size_t>(top));
}

TEST_F(DecoderTest, ARunCoversRowsFromStartToEndAndReadsRowRAtItsSourceWordPlusR) {
  // 80, source, 60 covers rows 30 to 39. The runs read the pool out of its
  // order: the second run of column 0 shares bytes with the first, column
  // 1's reads the pool's start.
  const Decoded d = Sprite(EncodeSpriteRuns(
      7, 8, {{{80, Source(2, 4, 30), 60}, {6, Source(2, 6, 1), 2}}, {{128, Source(2, 0, 62), 124}}},
      Ramp(16, 10)));
  EXPECT_EQ(d.Width(), 2);
  EXPECT_EQ(d.Column(0), Rows({{30, Ramp(10, 14)}, {1, Ramp(2, 16)}}));
  EXPECT_EQ(d.Column(1), Rows({{62, {10, 11}}}));
  EXPECT_EQ(d.Colors, 12);
}

TEST_F(DecoderTest, SourcePositionsWrapAt65536AndReadZeroOutsideTheChunk) {
  // Rows 0 to 3 from source 65534: positions 65534 and 65535 (outside the
  // chunk), then 0 and 1 (the first column word, 5). Rows 4 to 7 from
  // source 19: the chunk's last two bytes, then two past its end.
  std::vector<uint8_t> chunk = EncodeSpriteRuns(5, 5, {{{8, 65534, 0}, {16, 19, 8}}}, {7, 8, 9});
  chunk.insert(chunk.end(), {42, 43});
  ASSERT_EQ(chunk.size(), 25u);
  const Decoded d = Sprite(chunk);
  EXPECT_EQ(d.Column(0), Rows({{0, {0, 0, 5, 0}}, {4, {42, 43, 0, 0}}}));
  EXPECT_EQ(d.Colors, 4) << "index 0 read outside the chunk is drawn and counts";
}

// Damaged sprites: each still gives a complete image and a count.

TEST_F(DecoderTest, ChunksTooShortForTheHeadOrWithTheLastColumnBelowTheFirstHaveNoColumns) {
  const std::vector<uint8_t> chunks[] = {{},
                                         {5, 0, 9},
                                         EncodeSpriteRuns(20, 19, {}, {}),
                                         EncodeSpriteRuns(40, 10, {{{20, 0, 0}}}, Ramp(10, 1)),
                                         EncodeSpriteRuns(0xFFFF, 0, {}, {})};
  for (const std::vector<uint8_t>& chunk : chunks) {
    SCOPED_TRACE(::testing::PrintToString(chunk));
    const Decoded d = Sprite(chunk);
    EXPECT_EQ(d.Width(), 0);
    EXPECT_EQ(d.Colors, 0);
  }
}

TEST_F(DecoderTest, MoreThan64ColumnsShowTheFirst64) {
  std::vector<std::vector<RawRun>> columns(100);
  columns[0] = {{2, Source(100, 0, 0), 0}};
  columns[63] = {{4, Source(100, 1, 0), 0}};
  columns[64] = {{128, Source(100, 3, 0), 0}};
  const Decoded d = Sprite(EncodeSpriteRuns(0, 99, columns, Ramp(67, 1)));
  EXPECT_EQ(d.Width(), 64);
  EXPECT_EQ(d.Column(0), Rows({{0, {1}}}));
  EXPECT_EQ(d.Column(63), Rows({{0, {2, 3}}}));
  EXPECT_EQ(d.Colors, 3);
  // The whole 65,536-column table that 0 to 0xFFFF declares: still 64 wide.
  EXPECT_EQ(Sprite(EncodeSpriteRuns(0, 0xFFFF, {{{2, 0, 0}}}, {})).Width(), 64);
}

TEST_F(DecoderTest, RunRowsOutsideTheFrameAreNotDrawn) {
  // Rows 60 to 69: 60 to 63 drawn. Rows 100 to 104: none. 0 to 99: 0 to 63.
  const Decoded d = Sprite(EncodeSpriteRuns(0, 2,
                                            {{{140, Source(3, 0, 60), 120}, {2, Source(3, 10, 0), 0}},
                                             {{210, Source(3, 0, 100), 200}, {4, Source(3, 16, 1), 2}},
                                             {{200, Source(3, 17, 0), 0}, {64, Source(3, 117, 31), 62}}},
                                            Ramp(200, 1)));
  EXPECT_EQ(d.Column(0), Rows({{60, {1, 2, 3, 4}}, {0, {11}}}));
  EXPECT_EQ(d.Column(1), Rows({{1, {17}}}));
  EXPECT_EQ(d.Column(2), Rows({{0, Ramp(64, 18)}, {31, {118}}}));
  // Row 31's first pixel (49) was drawn too, before the last run covered it.
  EXPECT_EQ(d.Colors, 5 + 1 + 64 + 1);
}

TEST_F(DecoderTest, AnUpsideDownRunDrawsNothing) {
  const Decoded d =
      Sprite(EncodeSpriteRuns(0, 0, {{{20, 0, 60}, {3, 0, 40}, {81, Source(1, 0, 30), 60}}}, Ramp(10, 1)));
  // 20 - 60 and 3 - 40 are negative; 81 - 60 gives ten pixels from row 30.
  EXPECT_EQ(d.Column(0), Rows({{30, Ramp(10, 1)}}));
  EXPECT_EQ(d.Colors, 10);
}

TEST_F(DecoderTest, ColumnsWhoseOffsetOrListLiesPastTheChunkAreEmpty) {
  std::vector<uint8_t> chunk = EncodeSpriteRuns(
      0, 2, {{{4, Source(3, 0, 0), 0}}, {{4, Source(3, 2, 0), 0}}, {{4, Source(3, 4, 0), 0}}},
      {7, 7, 8, 8, 9, 9});
  WriteLe16(&chunk[6], static_cast<uint16_t>(chunk.size()));  // column 1's list just past the end
  const Decoded d = Sprite(chunk);
  EXPECT_EQ(d.Column(0), Rows({{0, {7, 7}}}));
  EXPECT_EQ(d.Column(1), std::vector<uint8_t>(64, 0));
  EXPECT_EQ(d.Column(2), Rows({{0, {9, 9}}}));
}

TEST_F(DecoderTest, ChunksRunningPastTheFileDecodeLikeTheSameBytesHeldInMemory) {
  // A chunk whose last bytes lie past the end of the file reads them as
  // zeros; the decoder copies the bytes the file holds and pads them
  // instead of working where they lie.
  SpritePicture picture = BlankSprite();
  for (int x = 3; x < 40; ++x)
    for (int y = 5; y < 60; y += 3) picture[x][y] = static_cast<int16_t>(x * y % 251 + 1);
  for (const SectionKind section : {SectionKind::Texture, SectionKind::Sprite}) {
    std::vector<uint8_t> chunk = section == SectionKind::Texture ? Ramp(4096, 7) : EncodeSprite(picture);
    for (const size_t missing : {size_t{1}, size_t{37}, chunk.size() / 2}) {
      std::vector<uint8_t> held = chunk;
      std::fill(held.end() - static_cast<std::ptrdiff_t>(missing), held.end(), 0);
      MemoryStream image;
      const uint16_t colors =
          WriteElementImage(ViewOf(held, held.size() - missing, held.size()), section, image);
      const Decoded inMemory = Decode(held, section);
      EXPECT_EQ(colors, inMemory.Colors) << missing;
      EXPECT_TRUE(std::ranges::equal(image.Bytes(), inMemory.Bytes)) << missing;
    }
  }
}

TEST_F(DecoderTest, ARunListEndsAtTheEndOfTheChunk) {
  std::vector<uint8_t> chunk =
      EncodeSpriteRuns(0, 0, {{{4, Source(1, 0, 0), 0}, {8, Source(1, 2, 3), 6}}}, {1, 2, 3});
  chunk.resize(chunk.size() - 2);  // no closing 0 word
  EXPECT_EQ(Sprite(chunk).Column(0), Rows({{0, {1, 2}}, {3, {3}}}));
  chunk.resize(chunk.size() - 1);  // the second record is cut: dropped
  EXPECT_EQ(Sprite(chunk).Column(0), Rows({{0, {1, 2}}}));
}

TEST_F(DecoderTest, SixtyFourColumnsSharingOneLongListStayBounded) {
  // One list of 10,000 records of rows 0 to 63 without a closing word,
  // shared by every column: each column reads it to the chunk's end, and
  // each run reads the chunk's first 64 bytes.
  std::vector<uint8_t> chunk(4 + 128 + 6 * 10000, 0);
  WriteLe16(&chunk[2], 63);
  for (size_t c = 0; c < 64; ++c) WriteLe16(&chunk[4 + 2 * c], 132);
  for (size_t at = 132; at < chunk.size(); at += 6) WriteLe16(&chunk[at], 128);
  const Decoded d = Sprite(chunk);
  EXPECT_EQ(d.Width(), 64);
  const std::vector<uint8_t> head(chunk.begin(), chunk.begin() + 64);
  for (int c = 0; c < 64; ++c) ASSERT_EQ(d.Column(c), head) << c;
  EXPECT_EQ(d.Colors, 3);  // 0, 63 and 132
}

// Decoding the entries of a loaded file: Full(9) unless a test loads another.

class DecodeElementTest : public DecoderTest {
 protected:
  void SetUp() override {
    DecoderTest::SetUp();
    Load(Full(9));
  }
  void Load(const PageFileLayout& layout) { LoadFrom(file_, BuildPageFile(layout)); }
  // 106 textures of one index each, 435 sprites five columns wide with
  // that index in row 10, one unknown chunk.
  static PageFileLayout Full(uint8_t shade) {
    SpritePicture sprite = BlankSprite();
    for (int x = 0; x < 5; ++x) sprite[x][10] = shade;
    PageFileLayout layout;
    layout.Chunks.assign(106, {std::vector<uint8_t>(4096, shade), {}, {}});
    layout.Chunks.resize(541, {EncodeSprite(sprite), {}, {}});
    layout.Chunks.push_back({std::vector<uint8_t>(4096, 3), {}, {}});
    return layout;
  }
  RWlFile file_;
};

TEST_F(DecodeElementTest, FillsImageAndColorsAndLeavesTheTemplateAtThisImage) {
  DecodeElement(file_, 106 + 4);
  const RWlChunk& e = file_.Chunks[110];
  ASSERT_NE(e.Image, nullptr);
  EXPECT_EQ((std::vector<int>{e.Image->Width(), e.Image->Height(), e.Image->PixelIndex(4, 10),
                              e.Image->PixelIndex(4, 11)}),
            (std::vector<int>{5, 64, 9, 0}));
  EXPECT_EQ(e.Image->Info().size(), 40u + 1024u);
  EXPECT_TRUE(
      std::equal(BmpTemplate.begin() + PaletteOffset, BmpTemplate.end(), e.Image->Info().begin() + 40));
  EXPECT_EQ(e.Colors, 1);
  const uint8_t* t = BmpTemplate.data();
  EXPECT_EQ((std::vector<uint32_t>{ReadLe32(t + BfSizeOffset), ReadLe32(t + BiWidthOffset),
                                   ReadLe32(t + BiHeightOffset)}),
            (std::vector<uint32_t>{1590, 5, 64}));
}

TEST_F(DecodeElementTest, DecodesEachElementOncePerLoad) {
  EXPECT_TRUE(EnsureDecoded(file_, 0));
  const Bitmap* first = file_.Chunks[0].Image.get();
  EXPECT_FALSE(EnsureDecoded(file_, 0));
  EXPECT_EQ(file_.Chunks[0].Image.get(), first);
  EXPECT_TRUE(EnsureDecoded(file_, 540));
  EXPECT_FALSE(EnsureDecoded(file_, 540));
  EXPECT_EQ(file_.Chunks[0].Image->PixelIndex(0, 0), 9);

  // Another load starts undecoded and decodes from the new data.
  Load(Full(12));
  EXPECT_TRUE(EnsureDecoded(file_, 0));
  EXPECT_EQ(file_.Chunks[0].Image->PixelIndex(0, 0), 12);
}

TEST_F(DecodeElementTest, NeverDecodesUnknownChunksOrIndicesOutsideTheTable) {
  EXPECT_FALSE(EnsureDecoded(file_, 541));
  DecodeElement(file_, 541);
  EXPECT_EQ(std::tuple(file_.Chunks[541].Image.get(), file_.Chunks[541].Colors), std::tuple(nullptr, 0));
  EXPECT_FALSE(EnsureDecoded(file_, 542));
  EXPECT_FALSE(EnsureDecoded(file_, 0xFFFFFFFFu));
  DecodeElement(file_, -1);
  DecodeElement(file_, 542);

  const uint8_t data[] = {1, 2, 3};
  MemoryStream image;
  EXPECT_EQ(WriteElementImage({data, 3, 3}, SectionKind::Unknown, image), 0);
  EXPECT_EQ(image.Size(), 0);
}

TEST_F(DecodeElementTest, EmptyChunksStillGetABitmap) {
  PageFileLayout layout;
  layout.Chunks.resize(107);
  Load(layout);
  EXPECT_TRUE(EnsureDecoded(file_, 105));
  EXPECT_TRUE(EnsureDecoded(file_, 106));
  ASSERT_NE(file_.Chunks[105].Image, nullptr);
  ASSERT_NE(file_.Chunks[106].Image, nullptr);
  EXPECT_EQ(file_.Chunks[105].Image->Width(), 64);
  EXPECT_EQ(file_.Chunks[106].Image->Width(), 0);
  EXPECT_FALSE(file_.Chunks[106].Image->Empty());
}

}  // namespace
