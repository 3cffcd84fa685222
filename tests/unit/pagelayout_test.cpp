// The sections and the layout of a page file as the game reads it, and new
// files assembled so that they keep the base's layout.
#include "pagefile/pagelayout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "pagefile/sections.h"
#include "pagefiles.h"
#include "pagewriter.h"

namespace {

TEST(GameSectionsTest, FollowTheHeaderWordsOrFallBackToTheViewersSplit) {
  struct Case {
    HeaderWords words;
    uint32_t chunks;
    bool fromHeader;
    uint32_t textures, sprites, soundPages;
  };
  const Case cases[] = {
      {{663, 106, 542}, 663, true, 106, 436, 120},    // the full game
      {{666, 134, 555}, 666, true, 134, 421, 110},    // Spear of Destiny
      {{1085, 232, 895}, 1085, true, 232, 663, 189},  // a large mod
      {{3, 1, 1}, 3, true, 1, 0, 1},                  // no sprites
      {{3, 1, 2}, 3, true, 1, 1, 0},                  // no sound pages: the table follows the sprites
      {{663, 0, 542}, 663, false, 106, 435, 121},     // a word of 0
      {{663, 106, 0}, 663, false, 106, 435, 121},
      {{663, 300, 200}, 663, false, 106, 435, 121},  // sounds before sprites
      {{663, 106, 663}, 663, false, 106, 435, 121},  // the sound start is no chunk before the table
      {{200, 106, 542}, 200, false, 106, 94, 0},     // the split as far as the table reaches
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.words.SpriteStart) + " " + std::to_string(c.words.SoundStart));
    const GameSections s = ReadGameSections(c.words, c.chunks);
    EXPECT_EQ(s.FromHeader, c.fromHeader);
    EXPECT_EQ(SectionsFallbackReason(c.words, c.chunks).empty(), c.fromHeader);
    EXPECT_EQ(s.Textures(), c.textures);
    EXPECT_EQ(s.Sprites(), c.sprites);
    EXPECT_EQ(s.SoundPages(), c.soundPages);
  }
  const GameSections spear = ReadGameSections({666, 134, 555}, 666);
  EXPECT_EQ(spear.Of(133), SectionKind::Texture);
  EXPECT_EQ(spear.Of(134), SectionKind::Sprite);
  EXPECT_EQ(spear.Of(555), SectionKind::Unknown);
  EXPECT_EQ(spear.Number(133), 134u);
  EXPECT_EQ(spear.Number(134), 1u);
  EXPECT_EQ(spear.ChunkOf(SectionKind::Sprite, 421), 554u);
  EXPECT_EQ(spear.TableChunk(), 665u);
  EXPECT_FALSE(ReadGameSections({}, 0).HasTable());
  EXPECT_FALSE(ReadGameSections({200, 106, 542}, 200).HasTable());
  EXPECT_EQ(
      SectionsFallbackReason({663, 300, 200}, 663),
      "the header's first sprite chunk 300 and first sound chunk 200: the sounds start before the sprites");
}

// Four chunks of 100, 0, 700 and 30 bytes, the second absent (offset 0).
PageFileLayout Four() {
  PageFileLayout layout;
  layout.FirstSprite = 1;
  layout.FirstSound = 2;
  for (size_t size : {100u, 0u, 700u, 30u})
    layout.Chunks.push_back({std::vector<uint8_t>(size, static_cast<uint8_t>(size / 10)), {}, {}});
  layout.Chunks[1].Offset = 0;
  return layout;
}

TEST(PageLayoutTest, TellsAlignmentGapsTrailingBytesAndDamage) {
  PageFileLayout aligned = Four();
  aligned.Align = 512;
  aligned.PadTo = 512;
  PageLayout l = ReadPageLayout(LoadedFrom(BuildPageFile(aligned)));
  EXPECT_TRUE(l.Aligned && !l.BackToBack && l.ZeroPadding);
  EXPECT_EQ(std::tuple(l.Present, l.LastEnd, l.Trailing), std::tuple(3u, 2048u + 30, 512u - 30));

  PageFileLayout packed = Four();
  packed.Trailing = {0, 0, 7};
  l = ReadPageLayout(LoadedFrom(BuildPageFile(packed)));
  EXPECT_TRUE(!l.Aligned && l.BackToBack && !l.ZeroPadding && l.PastEnd.empty() && l.EntriesMissing == 0);
  EXPECT_EQ(l.Trailing, 3u);

  PageFileLayout gaps = Four();
  gaps.Chunks[2].Gap = 10;
  l = ReadPageLayout(LoadedFrom(BuildPageFile(gaps)));
  EXPECT_FALSE(l.Aligned || l.BackToBack);

  // Cut inside the last chunk, and inside the lengths of the directory.
  std::vector<uint8_t> bytes = BuildPageFile(packed);
  bytes.resize(bytes.size() - 10);
  EXPECT_EQ(ReadPageLayout(LoadedFrom(bytes)).PastEnd, std::vector<uint32_t>{3});
  bytes.resize(6 + 16 + 3);
  l = ReadPageLayout(LoadedFrom(bytes));
  EXPECT_EQ(l.EntriesMissing, 3u) << "one length whole, one half there";
  EXPECT_EQ(l.PastEnd, (std::vector<uint32_t>{0}));
}

// The chunks of `base` with `changes` (index, new bytes) over them.
std::vector<NewChunk> With(const RWlFile& base,
                           const std::vector<std::pair<uint32_t, const std::vector<uint8_t>*>>& changes) {
  std::vector<NewChunk> chunks(base.Chunks.size());
  for (uint32_t i = 0; i < chunks.size(); ++i) chunks[i].Base = i;
  for (const auto& [i, bytes] : changes) chunks[i] = {NewChunk::kNew, *bytes};
  return chunks;
}

std::vector<uint8_t> Assemble(const RWlFile& base, std::span<const NewChunk> chunks) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(AssemblePageFile(base, chunks, out, error)) << error;
  return out;
}

TEST(AssemblePageFileTest, ChunksOfTheSameLengthKeepEveryOtherByteOfTheBase) {
  // Gaps, a chunk back to back and trailing bytes: all stay.
  PageFileLayout layout = Four();
  layout.Chunks[2].Gap = 33;
  layout.Trailing = {1, 2, 3, 4, 5};
  const std::vector<uint8_t> bytes = BuildPageFile(layout);
  const RWlFile base = LoadedFrom(bytes);
  EXPECT_EQ(Assemble(base, With(base, {})), bytes);
  const std::vector<uint8_t> other(700, 0x77);
  std::vector<uint8_t> expected = bytes;
  std::copy(other.begin(), other.end(), expected.begin() + base.Chunks[2].Offset);
  EXPECT_EQ(Assemble(base, With(base, {{2, &other}})), expected);
}

TEST(AssemblePageFileTest, AChangeOfLengthMovesOnlyWhatFollowsInTheBasesStyle) {
  for (const bool aligned : {true, false}) {
    SCOPED_TRACE(aligned ? "512-aligned" : "back to back");
    PageFileLayout layout = Four();
    if (aligned) {
      layout.Align = 512;
      layout.PadTo = 512;
    } else {
      layout.Trailing = {9, 8, 7};
    }
    const RWlFile base = LoadedFrom(BuildPageFile(layout));
    const std::vector<uint8_t> longer(900, 0x44), last(130, 0x33);
    const RWlFile after = LoadedFrom(Assemble(base, With(base, {{2, &longer}, {3, &last}})));
    ASSERT_EQ(after.Chunks.size(), 4u);
    EXPECT_EQ(std::tuple(after.Header.SpriteStart, after.Header.SoundStart), std::tuple(1, 2));
    EXPECT_EQ(after.Chunks[0].Offset, base.Chunks[0].Offset) << "before the change";
    EXPECT_EQ(after.Chunks[1].Offset, 0u) << "absent, as in the base";
    EXPECT_EQ(ChunkBytes(after, 2), longer);
    EXPECT_EQ(ChunkBytes(after, 3), last);
    const uint32_t end2 = after.Chunks[2].Offset + 900;
    EXPECT_EQ(after.Chunks[3].Offset, aligned ? 2048u : end2);
    const PageLayout l = ReadPageLayout(after);
    EXPECT_EQ(std::tuple(l.Aligned, l.ZeroPadding), std::tuple(aligned, aligned)) << "padding to 512 redone";
    if (!aligned) {
      EXPECT_EQ(std::vector<uint8_t>(after.Bytes.end() - 3, after.Bytes.end()),
                (std::vector<uint8_t>{9, 8, 7}));
      EXPECT_EQ(l.Trailing, 3u);
    }
  }
}

TEST(AssemblePageFileTest, AnAbsentChunkThatGetsBytesBecomesAChunkAndTheDirectoryCanGrow) {
  const RWlFile base = LoadedFrom(BuildPageFile(Four()));
  const std::vector<uint8_t> born(20, 0x20);
  const RWlFile after = LoadedFrom(Assemble(base, With(base, {{1, &born}})));
  EXPECT_EQ(ChunkBytes(after, 1), born);
  EXPECT_TRUE(after.Chunks[0].Offset == base.Chunks[0].Offset &&
              after.Chunks[1].Offset == base.Chunks[0].Offset + 100);

  // Two more chunks: the directory reaches into the first chunk, which moves.
  std::vector<NewChunk> more = With(base, {});
  more.insert(more.end(), 2, NewChunk{NewChunk::kNew, born});
  const RWlFile grown = LoadedFrom(Assemble(base, more));
  ASSERT_EQ(grown.Chunks.size(), 6u);
  EXPECT_EQ(grown.Chunks[0].Offset, 6u + 36);
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(ChunkBytes(grown, i), ChunkBytes(base, i)) << i;
  EXPECT_EQ(ChunkBytes(grown, 5), born);

  // One fewer: the old directory's last entry leaves zeros behind.
  PageFileLayout aligned = Four();
  aligned.Align = 512;
  const RWlFile alignedBase = LoadedFrom(BuildPageFile(aligned));
  std::vector<NewChunk> fewer = With(alignedBase, {});
  fewer.pop_back();
  const std::vector<uint8_t> shrunk = Assemble(alignedBase, fewer);
  EXPECT_EQ(LoadedFrom(shrunk).Chunks[0].Offset, 512u);
  EXPECT_TRUE(std::all_of(shrunk.begin() + 6 + 18, shrunk.begin() + 512, [](uint8_t b) { return b == 0; }));
}

TEST(AssemblePageFileTest, RefusesWhatNoPageFileCanHold) {
  const RWlFile base = LoadedFrom(BuildPageFile(Four()));
  std::vector<uint8_t> out;
  std::string error;
  const std::vector<NewChunk> tooMany(65536, NewChunk{0, {}});
  EXPECT_FALSE(AssemblePageFile(base, tooMany, out, error));
  EXPECT_EQ(error, "the file would have 65536 chunks, 1 more than the 65535 its count can hold");

  // 65,535 chunks of 65,535 bytes reach past what 32-bit offsets can.
  const std::vector<uint8_t> big(65535, 1);
  const std::vector<NewChunk> huge(65535, NewChunk{NewChunk::kNew, big});
  EXPECT_FALSE(AssemblePageFile(base, huge, out, error));
  EXPECT_EQ(error, "the new file would be larger than the 4 GiB that its offsets can reach");

  // A table that claims far more than the file holds.
  PageFileLayout hostile;
  hostile.Chunks.assign(100, PageChunk{{}, 1u << 30, 65535});
  const RWlFile damaged = LoadedFrom(BuildPageFile(hostile));
  std::vector<uint8_t> x(1, 0);
  EXPECT_FALSE(AssemblePageFile(damaged, With(damaged, {{0, &x}}), out, error));
  EXPECT_NE(error.find("too damaged to pack"), std::string::npos) << error;

  // 1000 chunks sharing the same 4000 bytes would each need their own.
  PageFileLayout shared;
  shared.Chunks.push_back({std::vector<uint8_t>(4000, 1), {}, {}});
  shared.Chunks.resize(1000, PageChunk{{}, 6 + 6000, 4000});
  const RWlFile overlapping = LoadedFrom(BuildPageFile(shared));
  EXPECT_FALSE(AssemblePageFile(overlapping, With(overlapping, {{0, &x}}), out, error));
  EXPECT_NE(error.find("share their bytes so much"), std::string::npos) << error;
}

}  // namespace
