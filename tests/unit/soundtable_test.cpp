#include "pagefile/soundtable.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "base/bytes.h"
#include "pagefile/pagelayout.h"
#include "pagefile/soundreplace.h"
#include "pagefiles.h"
#include "pagewriter.h"

namespace {

// Two picture chunks, then the pages of sounds of the given lengths from
// chunk 2 on (sound start), then the table.
PageFileLayout SoundFile(const std::vector<uint32_t>& lengths) {
  PageFileLayout layout;
  layout.FirstSprite = 1;
  layout.FirstSound = 2;
  layout.Chunks.push_back({std::vector<uint8_t>(4096, 1), {}, {}});
  layout.Chunks.push_back({std::vector<uint8_t>(100, 2), {}, {}});
  AddSounds(layout, lengths);
  return layout;
}

class SoundTableTest : public ::testing::Test {
 protected:
  SoundTable Read(const PageFileLayout& layout) { return ReadFromBytes(BuildPageFile(layout)); }
  SoundTable ReadFromBytes(const std::vector<uint8_t>& bytes) {
    LoadFrom(file_, bytes);
    return ReadSoundTable(file_, ReadGameSections(file_));
  }
  // The problems as one text, for matching.
  static std::string Problems(const SoundTable& table) {
    std::string text;
    for (const std::string& p : table.Problems) text += p + "\n";
    return text;
  }
  RWlFile file_;
};

TEST_F(SoundTableTest, ListsEverySoundWithItsPagesAndSamples) {
  const std::vector<uint32_t> lengths = {1, 4095, 4096, 4097, 3 * 4096 - 5, 0};
  const SoundTable table = Read(SoundFile(lengths));
  EXPECT_EQ(Problems(table), "");
  EXPECT_EQ(table.TableChunk, 10u);
  EXPECT_EQ(table.Entries, 6u);
  // Number, first chunk, chunks and bytes of each.
  const std::vector<std::vector<uint32_t>> expected = {{1, 2, 1, 1},    {2, 3, 1, 4095},  {3, 4, 1, 4096},
                                                       {4, 5, 2, 4097}, {5, 7, 3, 12283}, {6, 10, 0, 0}};
  // A sound of no bytes has no pages; its first page may name the table.
  ASSERT_EQ(table.Sounds.size(), expected.size());
  for (size_t s = 0; s < expected.size(); ++s) {
    const SoundEntry& e = table.Sounds[s];
    EXPECT_EQ((std::vector<uint32_t>{e.Number, e.FirstChunk, e.ChunkCount, e.Bytes}), expected[s]);
    const std::vector<uint8_t> samples = SoundSamples(file_, e);
    ASSERT_EQ(samples.size(), lengths[s]);
    for (size_t k = 0; k < samples.size(); ++k) ASSERT_EQ(samples[k], (s + k) % 251) << s << ", " << k;
  }
  EXPECT_EQ(SoundSeconds(1), "0.000");
  EXPECT_EQ(SoundSeconds(7042), "1.000");
  EXPECT_EQ(SoundSeconds(65535), "9.306");
}

TEST_F(SoundTableTest, ReportsEachBadEntryAndKeepsTheGoodOnes) {
  // Sound 1 in chunk 2, 2 in 3 and 4, 3 to 6 in 5 to 8, the table in 9.
  PageFileLayout layout = SoundFile({10, 5000, 20, 30, 40, 50});
  PageChunk& table = layout.Chunks.back();
  WriteLe16(&table.Bytes[0], 9);
  WriteLe16(&table.Bytes[4 + 2], 9000);
  layout.Chunks[6].Size = 25;
  WriteLe16(&table.Bytes[16], 6);
  WriteLe16(&table.Bytes[16 + 2], 4097);
  layout.Chunks[5].Offset = 1u << 20;
  table.Bytes.push_back(7);  // a stray byte is no entry
  const SoundTable read = Read(layout);
  EXPECT_EQ(
      Problems(read),
      "sound 001 starts at page 9 (chunk 11), past the sound section (chunks 2 to 8)\n"
      "sound 002 is 9000 bytes long, but its page in chunk 4 holds 904 of the 4096 bytes it needs there\n"
      "sound 003: its page in chunk 5 runs past the end of the file\n"
      "sound 004 is 30 bytes long, but its page in chunk 6 holds 25 of the 30 bytes it needs there\n"
      "sound 005 needs 2 pages from chunk 8, which run 1 past the sound section (chunks 2 to 8)\n");
  EXPECT_EQ(read.Entries, 6u);
  ASSERT_EQ(read.Sounds.size(), 1u);
  EXPECT_EQ(std::tuple(read.Sounds[0].Number, read.Sounds[0].FirstChunk), std::tuple(6u, 8u));
}

TEST_F(SoundTableTest, TablesWithoutAPlace) {
  PageFileLayout layout = SoundFile({10, 20});
  layout.Chunks.back().Bytes.clear();
  SoundTable read = Read(layout);
  EXPECT_EQ(Problems(read), "the sound table (chunk 4) is absent: its length in the directory is 0\n");

  layout = SoundFile({10, 20});
  layout.FirstSound = 4;
  read = Read(layout);
  EXPECT_EQ(
      Problems(read),
      "sound 001 starts at page 0 (chunk 4), past the sound section, which is empty (sound start is the "
      "table's chunk)\nsound 002 starts at page 1 (chunk 5), past the sound section, which is empty (sound "
      "start is the table's chunk)\n");

  // Words that do not fit give the viewer's split, which leaves no chunk
  // for a table in a file this small.
  layout.FirstSound = 5;
  read = Read(layout);
  EXPECT_EQ(Problems(read), "the file has no sound table: its 5 chunks are all textures and sprites\n");
  EXPECT_TRUE(read.Sounds.empty());

  layout = SoundFile({10, 20});
  layout.TruncateAt = BuildPageFile(layout).size() - 3;
  read = Read(layout);
  EXPECT_EQ(Problems(read), "the sound table (chunk 4) runs 3 bytes past the end of the file\n");
  EXPECT_EQ(read.Sounds.size(), 1u);

  EXPECT_EQ(Problems(ReadFromBytes({0, 0, 0, 0, 0, 0})), "the file has no chunks, so no sound table\n");
}

TEST_F(SoundTableTest, SoundsWhosePagesAreAllAbsentAreLeftOutNotBad) {
  // Sound 1 in chunk 2, 2 in 3 and 4, 3 in 5 and 6; the table in 7.
  PageFileLayout layout = SoundFile({10, 5000, 6000});
  for (const size_t absent : {2u, 3u, 4u, 6u}) layout.Chunks[absent] = {{}, 0, {}};
  const SoundTable read = Read(layout);
  EXPECT_EQ(
      Problems(read),
      "sound 003 is 6000 bytes long, but 1 of its 2 pages are absent from the file (chunk 6): only part "
      "of it is there\n");
  ASSERT_EQ(read.Sounds.size(), 2u);
  EXPECT_TRUE(read.Sounds[0].Absent && read.Sounds[1].Absent && read.Sounds[1].ChunkCount == 2);
  EXPECT_EQ(read.AbsentCount(), 2u);
}

// The new file's chunks with the sounds of `layout` replaced, as bytes.
class ReplaceTest : public SoundTableTest {
 protected:
  std::vector<std::vector<uint8_t>> Replaced(const PageFileLayout& layout,
                                             const std::vector<SoundReplacement>& replacements) {
    const SoundTable table = Read(layout);
    const SoundRewrite rewrite = ReplaceSounds(table, layout.Chunks.back().Bytes, replacements);
    errors_.clear();
    for (const std::string& e : rewrite.Errors) errors_ += e + "\n";
    if (!rewrite.Errors.empty()) {
      EXPECT_TRUE(rewrite.Chunks.empty() && rewrite.Table.empty());
      return {};
    }
    std::vector<std::vector<uint8_t>> chunks;
    for (const NewChunk& c : rewrite.Chunks)
      chunks.push_back(c.Base == NewChunk::kNew ? std::vector<uint8_t>(c.Bytes.begin(), c.Bytes.end())
                                                : layout.Chunks[c.Base].Bytes);
    chunks.push_back(rewrite.Table);
    return chunks;
  }
  std::string errors_;
};

// packsounds_test packs whole files with sounds replaced by the same and by
// longer ones, which moves the chunks and pages that follow.
TEST_F(ReplaceTest, ASoundOfNoBytesOrOfAbsentPagesGetsItsPagesWhereItsEntryPoints) {
  const std::vector<std::vector<uint8_t>> filled = Replaced(SoundFile({10, 0}), {{2, {5, 6}}});
  ASSERT_EQ(filled.size(), 5u);
  EXPECT_EQ(filled[3], (std::vector<uint8_t>{5, 6}));
  EXPECT_EQ(filled[4], (std::vector<uint8_t>{0, 0, 10, 0, 1, 0, 2, 0}));
  // An absent sound's pages become present.
  PageFileLayout absent = SoundFile({10, 5000});
  absent.Chunks[3] = absent.Chunks[4] = {{}, 0, {}};
  const std::vector<std::vector<uint8_t>> present = Replaced(absent, {{2, {1, 2, 3}}});
  ASSERT_EQ(present.size(), 5u);
  EXPECT_EQ(present[3], (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(ReplaceTest, ReportsEveryReplacementThatCannotBe) {
  PageFileLayout layout = SoundFile({10, 20, 30});
  WriteLe16(&layout.Chunks.back().Bytes[8], 0);  // sound 3: 5 bytes of sound 1's chunk
  WriteLe16(&layout.Chunks.back().Bytes[10], 5);
  layout.Chunks.back().Bytes.insert(layout.Chunks.back().Bytes.end(), {50, 0, 1, 0});  // a bad fourth entry
  Replaced(layout, {{1, {1}}, {2, std::vector<uint8_t>(65536)}, {4, {}}, {5, {}}, {2, {}}});
  EXPECT_EQ(errors_,
            "sound 001 shares chunk 2 with sound 003, so it cannot be replaced alone\n"
            "sound 002 is 65536 samples long, 1 more than the 65535 the table can hold\n"
            "sound 004 cannot be replaced: its table entry does not fit the base file\n"
            "sound 005 is not in the base file, whose table holds 4 sounds\n"
            "sound 002 is given twice\n");

  // A sound of no bytes whose first page lies inside another's pages has
  // nowhere to go; a file whose sections leave no table has no sounds.
  PageFileLayout empty = SoundFile({5000, 0});
  WriteLe16(&empty.Chunks.back().Bytes[4], 1);
  Replaced(empty, {{2, {7}}});
  EXPECT_EQ(errors_, "sound 002 has no pages to replace, and its first page lies inside sound 001\n");
  PageFileLayout tableless = SoundFile({10});
  tableless.FirstSound = 9;
  Replaced(tableless, {{1, {7}}});
  EXPECT_EQ(errors_, "the base file has no sound table whose sounds could be replaced\n");

  // Sound 1 at page 0 and sound 2 at page 65521 beyond 65520 other chunks:
  // 15 more pages for sound 1 push sound 2 and the count past 16 bits.
  PageFileLayout full = SoundFile({10, 10});
  full.FirstSound = 1;
  full.Chunks.erase(full.Chunks.begin());
  full.Chunks.insert(full.Chunks.begin() + 2, 65520, PageChunk{{1}, {}, {}});
  WriteLe16(&full.Chunks.back().Bytes[4], 65521);
  Replaced(full, {{1, std::vector<uint8_t>(65535)}});
  EXPECT_EQ(errors_,
            "sound 002 would start at page 65536, 1 past the 65535 the table can name\n"
            "the file would have 65539 chunks, 4 more than the 65535 its count can hold\n");
}

}  // namespace
