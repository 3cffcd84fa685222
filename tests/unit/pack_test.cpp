// pack and the sprite encoder. Page files shaped like the real ones (the
// full game, its shareware release, the Spear of Destiny demo and mods):
// their own header words, absent chunks and sounds, padding, trailing
// bytes, gaps, chunks back to back, and sprites whose pixel bytes other tools
// lay out in other ways. Each exports in the frame, and packs back byte for
// byte; one edited pixel changes its own chunk and nothing else; a damaged
// one is copied as the loader reads it.
#include "cli/pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "base/bytereader.h"
#include "base/bytes.h"
#include "cli/export.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/spriteencoder.h"
#include "pagefile/pagelayout.h"
#include "pagefiles.h"
#include "pagewriter.h"
#include "tempdir.h"

namespace {

// A sprite read the game's way, independently of the program's walk: row r
// of a run is the chunk byte at its source word + r.
FramedPicture GameDecode(const std::vector<uint8_t>& chunk) {
  FramedPicture picture;
  const ByteReader words(chunk);
  const int first = words.Le16At(0);
  for (int x = first; x <= words.Le16At(2); ++x) {
    for (size_t at = words.Le16At(4 + 2 * static_cast<size_t>(x - first)); words.Le16At(at) != 0; at += 6) {
      const uint16_t source = words.Le16At(at + 2);
      for (int y = words.Le16At(at + 4) / 2; y < words.Le16At(at) / 2; ++y) {
        const size_t in = static_cast<uint16_t>(source + y);
        EXPECT_LT(in, chunk.size());
        picture.Index[static_cast<size_t>(x * 64 + y)] = chunk.at(in);
        picture.Opaque[static_cast<size_t>(x * 64 + y)] = 1;
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
  EXPECT_EQ(std::tie(viewer.Opaque, viewer.Index), std::tie(picture.Opaque, drawn.Index))
      << "the viewer's reading";

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

enum class SpriteStyle {
  Game,           // the game's own: one pool in order, a pad byte when odd
  SharedPixels,   // runs whose pixels the pool holds already point at them
  BottomUpNoPad,  // each column's runs listed bottom to top, no pad byte
};

// A sprite as another tool lays it out: the pool in list order, lists after it.
std::vector<uint8_t> EncodeStyled(const FramedPicture& picture, SpriteStyle style) {
  int first = 64, last = -1;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y)
      if (picture.Opaque[static_cast<size_t>(x * 64 + y)]) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  if (style == SpriteStyle::Game || last < 0) return EncodeSpriteChunk(picture);
  const size_t poolAt = 4 + 2 * static_cast<size_t>(last - first + 1);
  std::vector<uint8_t> pool;
  std::vector<std::vector<RawRun>> columns;
  for (int x = first; x <= last; ++x) {
    std::vector<RawRun>& runs = columns.emplace_back();
    const uint8_t* opaque = picture.Opaque.data() + x * 64;
    const uint8_t* index = picture.Index.data() + x * 64;
    for (int y = 0; y < 64;) {
      if (!opaque[y]) {
        ++y;
        continue;
      }
      const int start = y;
      while (y < 64 && opaque[y]) ++y;
      const auto at = std::search(pool.begin(), pool.end(), index + start, index + y);
      const size_t k = style == SpriteStyle::SharedPixels && at != pool.end()
                           ? static_cast<size_t>(at - pool.begin())
                           : (pool.insert(pool.end(), index + start, index + y), pool.size() - (y - start));
      runs.push_back({static_cast<uint16_t>(2 * y), static_cast<uint16_t>(poolAt + k - start),
                      static_cast<uint16_t>(2 * start)});
    }
    if (style == SpriteStyle::BottomUpNoPad) std::reverse(runs.begin(), runs.end());
  }
  return EncodeSpriteRuns(static_cast<uint16_t>(first), static_cast<uint16_t>(last), columns, pool);
}

struct Shape {
  const char* Name;
  uint16_t Chunks, SpriteStart, SoundStart;
  bool Aligned;                   // else back to back
  uint32_t AbsentEvery = 0;       // every k-th chunk absent (length and offset 0)
  uint32_t GapEvery = 0;          // a gap before every k-th chunk
  std::vector<uint8_t> Trailing;  // after the last chunk
  bool Pad = false;               // zeros up to a multiple of 512
  SpriteStyle Sprites = SpriteStyle::Game;
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.Name; }

class RealFileTest : public ::testing::TestWithParam<Shape> {
 protected:
  // Textures of many indices; sprites of one to 40 columns with gaps, whose
  // columns repeat their neighbours' pixels; sounds of one page each but
  // the first, of two; then the table.
  void SetUp() override {
    const Shape& shape = GetParam();
    base_.FirstSprite = shape.SpriteStart;
    base_.FirstSound = shape.SoundStart;
    if (shape.Aligned) base_.Align = 512;
    base_.Trailing = shape.Trailing;
    if (shape.Pad) base_.PadTo = 512;
    std::vector<uint8_t> table;
    for (uint32_t i = 0; i + 1 < shape.Chunks; ++i) {
      PageChunk chunk;
      if (i < shape.SpriteStart) {
        FramedPicture t;
        for (size_t p = 0; p < t.Index.size(); ++p)
          t.Index[p] = static_cast<uint8_t>(p * (i % 5 + 1) / 64 + i);
        t.Opaque.fill(1);
        chunk.Bytes = EncodeTextureChunk(t);
      } else if (i < shape.SoundStart) {
        FramedPicture s;
        const int left = static_cast<int>(i % 50), right = std::min(63, left + static_cast<int>(i % 40));
        for (int x = left; x <= right; ++x)
          for (int y = static_cast<int>(i % 7); y < 64; ++y)
            if ((x / 3 + y) % 9 < 6) {
              s.Index[static_cast<size_t>(x * 64 + y)] = static_cast<uint8_t>(i + y * 3 + x / 3);
              s.Opaque[static_cast<size_t>(x * 64 + y)] = 1;
            }
        chunk.Bytes = EncodeStyled(s, shape.Sprites);
      } else {
        const uint32_t page = i - shape.SoundStart;
        const auto bytes = static_cast<uint16_t>(page == 0 ? 4096 + 300 : 100 + page * 37 % 3996);
        if (page != 1) AddSoundEntry(table, static_cast<uint16_t>(page), bytes);
        chunk.Bytes.resize(page == 0 ? 4096 : page == 1 ? 300 : bytes);
        for (size_t k = 0; k < chunk.Bytes.size(); ++k) chunk.Bytes[k] = static_cast<uint8_t>(k * 3 + i);
      }
      if (shape.AbsentEvery && i % shape.AbsentEvery == 1) chunk = {{}, 0, {}};
      if (shape.GapEvery && i % shape.GapEvery == 0) chunk.Gap = 100 + i;
      base_.Chunks.push_back(std::move(chunk));
    }
    base_.Chunks.push_back({table, {}, {}});
    bytes_ = BuildPageFile(base_);
    ASSERT_TRUE(WriteBytes(path_, bytes_));
    std::string error;
    ASSERT_TRUE(LoadPageFile(file_, path_, error)) << error;
    sections_ = ReadGameSections(file_);
    ASSERT_TRUE(sections_.FromHeader);
  }

  // Exports every picture in the frame, and the sounds, into a new folder.
  std::string Export(const std::string& name) {
    const std::filesystem::path dir = dir_.Path() / name;
    std::filesystem::create_directories(dir);
    ExportReport report;
    std::string error;
    EXPECT_TRUE(ExportElements(file_, sections_, BuiltInPalette(), dir,
                               {ExportOptions::Pictures::Framed, false}, report, error,
                               [](const std::string& note) { ADD_FAILURE() << note; }))
        << error;
    size_t absent = 0;
    for (uint32_t i = 0; i < sections_.SoundStart; ++i) absent += file_.Chunks[i].Size == 0;
    EXPECT_EQ(report.AbsentTextures + report.AbsentSprites, absent);
    EXPECT_EQ(report.Written, sections_.SoundStart - absent);
    size_t written = 0;
    EXPECT_TRUE(ExportSounds(file_, ReadSoundTable(file_, sections_), dir, written, error)) << error;
    return dir.string();
  }

  std::vector<uint8_t> Pack(const std::string& dir) {
    const std::string out = dir_.File("new.wl6");
    const PackResult result = ::Pack({dir, out, path_, false});
    EXPECT_EQ(result.Errors, std::vector<std::string>{});
    EXPECT_TRUE(result.Written);
    return ReadBytes(out);
  }

  TempDir dir_;
  std::string path_ = dir_.File("vswap.wl6");
  PageFileLayout base_;
  std::vector<uint8_t> bytes_;
  RWlFile file_;
  GameSections sections_;
};

TEST_P(RealFileTest, TheGamesReadingAndTheViewersAgree) {
  for (uint32_t i = sections_.SpriteStart; i < sections_.SoundStart; ++i) {
    const std::vector<uint8_t> chunk = ChunkBytes(file_, i);
    if (chunk.empty()) continue;
    SCOPED_TRACE("chunk " + std::to_string(i));
    const FramedPicture game = GameDecode(chunk);
    EXPECT_TRUE(FrameElement(chunk, SectionKind::Sprite) == game);
  }
}

TEST_P(RealFileTest, AnUnchangedExportPacksBackByteForByte) {
  EXPECT_TRUE(Pack(Export("pictures")) == bytes_);
}

TEST_P(RealFileTest, OneEditedPixelChangesItsChunkAndNothingElse) {
  const std::filesystem::path dir = Export("pictures");
  // The last present sprite, one of its drawn pixels given another index,
  // and a texture's.
  uint32_t sprite = sections_.SoundStart - 1;
  while (file_.Chunks[sprite].Size == 0) --sprite;
  const uint32_t texture = 2;
  std::map<uint32_t, FramedPicture> edited;
  for (const uint32_t chunk : {texture, sprite}) {
    const SectionKind kind = sections_.Of(chunk);
    FramedPicture picture = FrameElement(ChunkBytes(file_, chunk), kind);
    const size_t pixel = static_cast<size_t>(
        std::find(picture.Opaque.begin() + 64 * 20, picture.Opaque.end(), 1) - picture.Opaque.begin());
    ASSERT_LT(pixel, 4096u);
    picture.Index[pixel] ^= 0x40;
    std::vector<uint8_t> png;
    bool rgba = false;
    std::string error;
    ASSERT_TRUE(EncodeFramedPng(picture, BuiltInPalette(), png, rgba, error)) << error;
    char name[32];
    std::snprintf(name, sizeof name, "%s-%03u.png", kind == SectionKind::Texture ? "texture" : "sprite",
                  sections_.Number(chunk));
    ASSERT_TRUE(WriteBytes((dir / name).string(), png));
    edited[chunk] = picture;
  }
  const RWlFile after = LoadedFrom(Pack(dir.string()));
  ASSERT_EQ(after.Chunks.size(), file_.Chunks.size());
  for (uint32_t i = 0; i < file_.Chunks.size(); ++i) {
    SCOPED_TRACE("chunk " + std::to_string(i));
    const auto e = edited.find(i);
    if (e == edited.end()) {
      EXPECT_EQ(ChunkBytes(after, i), ChunkBytes(file_, i));
      if (i < sprite) {
        EXPECT_EQ(after.Chunks[i].Offset, file_.Chunks[i].Offset);
      }
    } else {
      EXPECT_TRUE(FrameElement(ChunkBytes(after, i), sections_.Of(i)) == e->second);
    }
  }
}

TEST_P(RealFileTest, ADamagedBaseIsCopiedAsTheLoaderReadsIt) {
  // Cut 3000 bytes short: the chunks the file does not hold whole are
  // copied with zeros where it ends, with a warning.
  bytes_.resize(bytes_.size() - 3000);
  ASSERT_TRUE(WriteBytes(path_, bytes_));
  std::string error;
  ASSERT_TRUE(LoadPageFile(file_, path_, error)) << error;
  const std::filesystem::path empty = dir_.Path() / "empty";
  std::filesystem::create_directories(empty);
  const std::string out = dir_.File("new.wl6");
  const PackResult result = ::Pack({empty.string(), out, path_, false});
  ASSERT_TRUE(result.Written);
  ASSERT_EQ(result.Warnings.size(), 1u);
  EXPECT_NE(result.Warnings[0].find("points past its end"), std::string::npos);
  RWlFile after;
  ASSERT_TRUE(LoadPageFile(after, out, error)) << error;
  for (size_t i = 0; i < file_.Chunks.size(); ++i) EXPECT_EQ(ChunkBytes(after, i), ChunkBytes(file_, i)) << i;
}

const Shape kShapes[] = {
    {"full game", 663, 106, 542, true, 0, 0, {}},
    {"shareware release", 663, 106, 542, true, 2, 0, {}, true},
    {"Spear demo", 666, 134, 555, true, 2, 0, {}, true},
    {"full game with 212 bytes after its chunks", 663, 106, 542, true, 0, 0, std::vector<uint8_t>(212, 0x61)},
    {"mod with gaps and bottom-up runs", 663, 106, 542, true, 3, 17, {}, true, SpriteStyle::BottomUpNoPad},
    {"mod back to back with shared pixels", 663, 106, 542, false, 0, 0, {}, false, SpriteStyle::SharedPixels},
    {"large mod", 1085, 232, 895, true, 0, 0, {}},
};
INSTANTIATE_TEST_SUITE_P(Shapes, RealFileTest, ::testing::ValuesIn(kShapes));

}  // namespace
