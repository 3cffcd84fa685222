#include "pagefile/sounds.h"

#include <gtest/gtest.h>

#include <vector>

#include "pagewriter.h"
#include "tempdir.h"

namespace {

// Two picture chunks, then the pages of sounds of the given lengths from
// chunk 2 on (sound start), then the table. Sample k of sound s is (s + k) % 251.
PageFileLayout SoundFile(const std::vector<uint32_t>& lengths) {
  PageFileLayout layout;
  layout.FirstSound = 2;
  layout.Chunks.push_back({std::vector<uint8_t>(4096, 1), {}, {}});
  layout.Chunks.push_back({std::vector<uint8_t>(100, 2), {}, {}});
  std::vector<uint8_t> table;
  for (size_t s = 0; s < lengths.size(); ++s) {
    const auto page = static_cast<uint16_t>(layout.Chunks.size() - layout.FirstSound);
    table.insert(table.end(), {static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8),
                               static_cast<uint8_t>(lengths[s]), static_cast<uint8_t>(lengths[s] >> 8)});
    for (uint32_t at = 0; at < lengths[s]; at += SoundPageBytes) {
      std::vector<uint8_t> bytes(std::min(SoundPageBytes, lengths[s] - at));
      for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>((s + at + k) % 251);
      layout.Chunks.push_back({bytes, {}, {}});
    }
  }
  layout.Chunks.push_back({table, {}, {}});
  return layout;
}

void SetWord(PageChunk& chunk, size_t at, uint16_t value) {
  chunk.Bytes[at] = static_cast<uint8_t>(value);
  chunk.Bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

class SoundTableTest : public ::testing::Test {
 protected:
  SoundTable Read(const PageFileLayout& layout) { return ReadBytes(BuildPageFile(layout)); }
  SoundTable ReadBytes(const std::vector<uint8_t>& bytes) {
    const std::string path = dir_.File("vswap.wl6");
    EXPECT_TRUE(WriteBytes(path, bytes));
    LoadPageFile(file_, path);
    const std::optional<PageHeaderWords> header = ReadHeaderWords(path);
    EXPECT_TRUE(header.has_value());
    return ReadSoundTable(file_, header ? header->FirstSound : 0);
  }
  // The problems as one text, for matching.
  static std::string Problems(const SoundTable& table) {
    std::string text;
    for (const std::string& p : table.Problems) text += p + "\n";
    return text;
  }
  TempDir dir_;
  RWlFile file_;
};

TEST_F(SoundTableTest, ListsEverySoundWithItsPagesAndSamples) {
  const std::vector<uint32_t> lengths = {1, 4095, 4096, 4097, 3 * 4096 - 5, 0};
  PageFileLayout layout = SoundFile(lengths);
  layout.FirstSprite = 1;
  const SoundTable table = Read(layout);
  EXPECT_EQ(Problems(table), "");
  EXPECT_EQ(table.TableChunk, 10u);
  EXPECT_EQ(table.Entries, 6u);
  const std::vector<SoundEntry> expected = {{1, 2, 1, 1},    {2, 3, 1, 4095},  {3, 4, 1, 4096},
                                            {4, 5, 2, 4097}, {5, 7, 3, 12283}, {6, 10, 0, 0}};
  // A sound of no bytes has no pages; its first page may name the table.
  ASSERT_EQ(table.Sounds.size(), expected.size());
  for (size_t s = 0; s < expected.size(); ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(table.Sounds[s].Number, expected[s].Number);
    EXPECT_EQ(table.Sounds[s].FirstChunk, expected[s].FirstChunk);
    EXPECT_EQ(table.Sounds[s].ChunkCount, expected[s].ChunkCount);
    EXPECT_EQ(table.Sounds[s].Bytes, expected[s].Bytes);
    const std::vector<uint8_t> samples = SoundSamples(file_, table.Sounds[s]);
    ASSERT_EQ(samples.size(), lengths[s]);
    for (size_t k = 0; k < samples.size(); ++k) ASSERT_EQ(samples[k], (s + k) % 251) << k;
  }
  EXPECT_EQ(SoundSeconds(1), "0.000");
  EXPECT_EQ(SoundSeconds(7042), "1.000");
  EXPECT_EQ(SoundSeconds(65535), "9.306");
}

TEST_F(SoundTableTest, ReportsEachBadEntryAndKeepsTheGoodOnes) {
  // Sound 1 in chunk 2, 2 in 3 and 4, 3 to 6 in 5 to 8, the table in 9.
  PageFileLayout layout = SoundFile({10, 5000, 20, 30, 40, 50});
  PageChunk& table = layout.Chunks.back();
  SetWord(table, 0, 9);
  SetWord(table, 4 + 2, 9000);
  layout.Chunks[6].Size = 25;
  SetWord(table, 16, 6);
  SetWord(table, 16 + 2, 4097);
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
  EXPECT_EQ(read.Sounds[0].Number, 6u);
  EXPECT_EQ(read.Sounds[0].FirstChunk, 8u);
}

TEST_F(SoundTableTest, TablesWithoutAPlace) {
  PageFileLayout layout = SoundFile({10, 20});
  layout.Chunks.back().Bytes.clear();
  SoundTable read = Read(layout);
  EXPECT_EQ(Problems(read) + std::to_string(read.Entries), "0") << "an empty table is no fault";

  layout = SoundFile({10, 20});
  layout.FirstSound = 5;
  read = Read(layout);
  EXPECT_EQ(Problems(read), "the header's sound start, chunk 5, lies past the sound table in chunk 4\n");
  EXPECT_TRUE(read.Sounds.empty());

  layout = SoundFile({10, 20});
  const size_t size = BuildPageFile(layout).size();
  layout.TruncateAt = size - 3;
  read = Read(layout);
  EXPECT_EQ(Problems(read), "the sound table (chunk 4) runs 3 bytes past the end of the file\n");
  EXPECT_EQ(read.Sounds.size(), 1u);

  EXPECT_EQ(Problems(ReadBytes({0, 0, 0, 0, 0, 0})), "the file has no chunks, so no sound table\n");
  EXPECT_FALSE(ReadHeaderWords(dir_.File("missing.wl6")));
  ASSERT_TRUE(WriteBytes(dir_.File("short.wl6"), {1, 0, 2, 0, 3}));
  EXPECT_FALSE(ReadHeaderWords(dir_.File("short.wl6")));
}

}  // namespace
