#include "cli/pack.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/bytereader.h"
#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/spriteencoder.h"
#include "pagefile/pagelayout.h"
#include "pagewriter.h"
#include "tempdir.h"

namespace {

// Reads a sprite chunk the game's way: each run's pixels lie at its source
// word plus the row, so a wrong word shows wrong pixels here, never in the
// viewer's decoder. Positions outside the chunk fail the test. `from`, if
// given, receives each drawn pixel's position in the chunk.
FramedPicture GameDecode(const std::vector<uint8_t>& chunk, std::array<size_t, 4096>* from = nullptr) {
  FramedPicture picture;
  const int first = ReadLe16(chunk.data());
  const int last = ReadLe16(chunk.data() + 2);
  for (int x = first; x <= last; ++x) {
    for (size_t at = ReadLe16(chunk.data() + 4 + 2 * (x - first)); ReadLe16(chunk.data() + at) != 0;
         at += 6) {
      const int end = ReadLe16(chunk.data() + at) / 2;
      const uint16_t source = ReadLe16(chunk.data() + at + 2);
      for (int y = ReadLe16(chunk.data() + at + 4) / 2; y < end; ++y) {
        const size_t pixel = static_cast<size_t>(x * 64 + y), in = static_cast<uint16_t>(source + y);
        EXPECT_LT(in, chunk.size()) << "column " << x << " row " << y;
        if (in >= chunk.size()) return picture;
        picture.Index[pixel] = chunk[in];
        picture.Opaque[pixel] = 1;
        if (from) (*from)[pixel] = in;
      }
    }
  }
  return picture;
}

// Encodes `picture` and checks that the game and the viewer read it back
// (the framing stands for the viewer: the two share their walk over the
// runs), and that the chunk is laid out as the game's are.
std::vector<uint8_t> ExpectRoundTrip(const FramedPicture& picture) {
  const std::vector<uint8_t> chunk = EncodeSpriteChunk(picture);
  const FramedPicture game = GameDecode(chunk);
  EXPECT_EQ(game.Opaque, picture.Opaque);
  FramedPicture drawn = picture;
  for (size_t i = 0; i < drawn.Index.size(); ++i)
    if (!drawn.Opaque[i]) drawn.Index[i] = 0;
  EXPECT_EQ(game.Index, drawn.Index) << "the game's reading";
  const FramedPicture viewer = FrameElement(chunk, SectionKind::Sprite);
  EXPECT_EQ(viewer.Opaque, picture.Opaque) << "the viewer's reading";
  EXPECT_EQ(viewer.Index, drawn.Index) << "the viewer's reading";

  // Table, pool, one pad byte when the pool is odd, then the lists back to
  // back up to the chunk's end.
  const size_t columns = size_t{ReadLe16(chunk.data() + 2)} - ReadLe16(chunk.data()) + 1;
  size_t pool = 0;
  for (uint8_t o : picture.Opaque) pool += o;
  const size_t listsAt = 4 + 2 * columns + pool + pool % 2;
  if (pool % 2) {
    EXPECT_EQ(chunk[listsAt - 1], 0);
  }
  size_t at = listsAt;
  for (size_t c = 0; c < columns; ++c) {
    EXPECT_EQ(ReadLe16(chunk.data() + 4 + 2 * c), at) << "column " << c;
    while (ReadLe16(chunk.data() + at) != 0) at += 6;
    at += 2;
  }
  EXPECT_EQ(at, chunk.size());
  return chunk;
}

void Draw(FramedPicture& p, int x, int y, uint8_t index) {
  p.Index[static_cast<size_t>(x * 64 + y)] = index;
  p.Opaque[static_cast<size_t>(x * 64 + y)] = 1;
}

TEST(SpriteEncoderTest, AwkwardShapesComeBackForTheGameAndTheViewer) {
  // Columns 0 and 63 with nothing between them but one pixel; runs at rows 0
  // and 63; a full column; indices 0 and 255 opaque; an odd pool.
  FramedPicture wide;
  Draw(wide, 0, 0, 0);
  Draw(wide, 0, 63, 255);
  for (int y = 0; y < 64; ++y) Draw(wide, 63, y, static_cast<uint8_t>(y * 4));
  Draw(wide, 30, 10, 7);
  EXPECT_EQ(ExpectRoundTrip(wide).size(), 4 + 2 * 64 + 67 + 1 + 4 * 6 + 64 * 2u);

  // An even pool, gaps inside columns, a run starting deep below the pool's
  // start (its source word wraps below 0).
  FramedPicture gaps;
  for (int y = 60; y < 64; ++y) Draw(gaps, 5, y, 1);
  for (int y : {2, 3, 9, 20, 21, 22}) Draw(gaps, 7, y, static_cast<uint8_t>(y));
  ExpectRoundTrip(gaps);

  // The largest sprite: every other pixel in every column.
  FramedPicture checks;
  for (int x = 0; x < 64; ++x)
    for (int y = x % 2; y < 64; y += 2) Draw(checks, x, y, static_cast<uint8_t>(x + y));
  EXPECT_GT(ExpectRoundTrip(checks).size(), MaxSpriteChunkSize);
}

TEST(SpriteEncoderTest, ABlankSpriteIsOneColumnWithNoRuns) {
  EXPECT_EQ(EncodeSpriteChunk({}),
            (std::vector<uint8_t>{BlankSpriteColumn, 0, BlankSpriteColumn, 0, 6, 0, 0, 0}));
}

// A chunk's bytes as the loader reads them.
std::vector<uint8_t> ChunkOf(const RWlFile& file, size_t i) {
  std::vector<uint8_t> bytes(file.Chunks[i].Size);
  ByteReader(file.Chunks[i].Data.StoredBytes()).Read(bytes.data(), bytes.size());
  return bytes;
}

// What an export in the frame writes for a sprite.
std::vector<uint8_t> FramedPng(const FramedPicture& picture) {
  InitBmpTemplate();
  std::vector<uint8_t> png;
  bool rgba = false;
  std::string error;
  EXPECT_TRUE(EncodeFramedPng(picture, BuiltInPalette(), png, rgba, error)) << error;
  return png;
}

// What `export` writes for a texture.
std::vector<uint8_t> TextureBmp(const FramedPicture& picture) {
  const std::vector<uint8_t> chunk = EncodeTextureChunk(picture);
  MemoryStream image;
  InitBmpTemplate();
  WriteElementImage({chunk.data(), 4096, 4096}, SectionKind::Texture, image);
  return {image.Bytes().begin(), image.Bytes().end()};
}

class PackTest : public ::testing::Test {
 protected:
  // A full-size file: textures of every index, sprites of awkward shapes,
  // and sounds among which one is empty.
  void SetUp() override {
    base_.FirstSprite = 106;
    base_.FirstSound = 541;
    for (int i = 0; i < 106; ++i) {
      FramedPicture t;
      for (size_t p = 0; p < t.Index.size(); ++p) t.Index[p] = static_cast<uint8_t>(p * (i + 1) + i);
      t.Opaque.fill(1);
      pictures_.push_back(t);
    }
    for (int i = 0; i < 435; ++i) {
      FramedPicture s;
      // Each column 0 to 63 in turn as the left edge, empty columns inside,
      // runs touching rows 0 and 63, full columns, every index; every 50th
      // spans the whole frame, one pixel a column.
      const int left = i % 64;
      const int right = i % 50 == 0 ? 63 : std::min(63, left + (i * 7) % 20);
      for (int x = i % 50 == 0 ? 0 : left; x <= right; ++x) {
        if (x != right && x % (i % 5 + 2) == 1) continue;
        const auto index = [&](int y) { return static_cast<uint8_t>(x * 4 + y + i); };
        if (i % 50 == 0) {
          Draw(s, x, x, index(x));
        } else if (i % 13 == 0) {
          for (int y = 0; y < 64; ++y) Draw(s, x, y, index(y));
        } else {
          const int top = (i + x) % 8, bottom = top + 10 + x % 9, next = bottom + 3 + i % 4;
          for (int y = top; y < bottom; ++y) Draw(s, x, y, index(y));
          for (int y = next; y < (i % 3 ? 64 : next + 5); ++y) Draw(s, x, y, index(y));
        }
      }
      if (i == 434) s = {};  // blank
      pictures_.push_back(s);
    }
    for (size_t i = 0; i < pictures_.size(); ++i) {
      const bool texture = i < 106;
      base_.Chunks.push_back(
          {texture ? EncodeTextureChunk(pictures_[i]) : EncodeSpriteChunk(pictures_[i]), {}, {}});
    }
    for (size_t size : {100u, 0u, 5000u, 1u, 512u})
      base_.Chunks.push_back({std::vector<uint8_t>(size, static_cast<uint8_t>(size)), {}, {}});
  }

  std::string WriteBase(const PageFileLayout& layout) {
    const std::string path = dir_.File("vswap.wl6");
    EXPECT_TRUE(WriteBytes(path, BuildPageFile(layout)));
    return path;
  }

  // Writes every picture, or those `only` names, into a folder: textures as
  // BMP and, where the build reads PNG, sprites as PNG.
  std::string Export(const std::vector<size_t>& only = {}) {
    const std::filesystem::path folder = dir_.Path() / "pictures";
    std::filesystem::create_directories(folder);
    for (size_t i = 0; i < pictures_.size(); ++i) {
      if (!only.empty() && std::find(only.begin(), only.end(), i) == only.end()) continue;
      char name[32];
      if (i < 106) {
        std::snprintf(name, sizeof name, "texture-%03zu.bmp", i + 1);
        EXPECT_TRUE(WriteBytes((folder / name).string(), TextureBmp(pictures_[i])));
      }
      if (i >= 106) {
        std::snprintf(name, sizeof name, "sprite-%03zu.png", i - 105);
        EXPECT_TRUE(WriteBytes((folder / name).string(), FramedPng(pictures_[i])));
      }
    }
    return folder.string();
  }

  std::vector<uint8_t> PackTo(const std::string& folder, const std::string& base) {
    const std::string out = dir_.File("new.wl6");
    const PackResult result = Pack({folder, out, base, false});
    EXPECT_EQ(result.Errors, std::vector<std::string>{});
    EXPECT_TRUE(result.Written);
    return ReadBytes(out);
  }

  static RWlFile Load(const std::string& path) {
    RWlFile file;
    std::string error;
    EXPECT_TRUE(LoadPageFile(file, path, error)) << error;
    return file;
  }

  PageFileLayout base_;
  std::vector<FramedPicture> pictures_;
  TempDir dir_;
};

TEST_F(PackTest, OneEditedPixelChangesOnlyItsOwnByte) {
  base_.Align = 512;
  const std::string base = WriteBase(base_);
  const std::vector<uint8_t> before = BuildPageFile(base_);
  pictures_[3].Index[64 * 10 + 20] ^= 0x55;
  const size_t sprite = 106 + 70;
  const size_t pixel = static_cast<size_t>(
      std::find(pictures_[sprite].Opaque.begin() + 64 * 12, pictures_[sprite].Opaque.end(), 1) -
      pictures_[sprite].Opaque.begin());
  ASSERT_LT(pixel, 4096u);
  pictures_[sprite].Index[pixel] ^= 0x0F;
  const std::vector<uint8_t> after = PackTo(Export({3, sprite}), base);
  ASSERT_EQ(after.size(), before.size());

  std::vector<size_t> changed;
  for (size_t i = 0; i < after.size(); ++i)
    if (after[i] != before[i]) changed.push_back(i);
  const RWlFile file = Load(base);
  // The sprite's pixel where the game finds it: its run's source word plus its row.
  std::array<size_t, 4096> from{};
  GameDecode(ChunkOf(file, sprite), &from);
  EXPECT_EQ(changed, (std::vector<size_t>{file.Chunks[3].Offset + 64 * 10 + 20u,
                                          file.Chunks[sprite].Offset + from[pixel]}));
}

TEST_F(PackTest, ADamagedBaseIsCopiedAsTheLoaderReadsIt) {
  base_.TruncateAt = BuildPageFile(base_).size() - 3000;
  const std::string base = WriteBase(base_);
  const PackResult result = Pack({Export({0}), dir_.File("new.wl6"), base, false});
  ASSERT_TRUE(result.Written);
  ASSERT_EQ(result.Warnings.size(), 1u);
  EXPECT_NE(result.Warnings[0].find("points past its end"), std::string::npos);
  const RWlFile before = Load(base);
  const RWlFile after = Load(dir_.File("new.wl6"));
  for (size_t i = 1; i < before.Chunks.size(); ++i) EXPECT_EQ(ChunkOf(after, i), ChunkOf(before, i)) << i;
}

}  // namespace
