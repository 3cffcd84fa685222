#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "cli/export.h"
#include "cli/pack.h"
#include "pagefile/soundtable.h"
#include "pagefiles.h"
#include "pagewriter.h"
#include "sound/gamesound.h"
#include "tempdir.h"

namespace {

// Pictures' chunks, sounds of 1, 4095, 4096, 4097 and 9000 bytes from chunk
// 541 on, and the table, laid out as the game's files are.
class SoundPackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_.Align = 512;
    base_.FirstSprite = 106;
    base_.FirstSound = 541;
    for (int i = 0; i < 541; ++i) base_.Chunks.push_back({{static_cast<uint8_t>(i), 1, 2}, {}, {}});
    AddSounds(base_, {1, 4095, 4096, 4097, 9000});
    ASSERT_TRUE(WritePageFile(base_path_, base_));
    std::filesystem::create_directories(sounds_);
  }

  void WriteSound(const std::string& name, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> wav;
    std::string error;
    ASSERT_TRUE(EncodeGameWav(samples, wav, error)) << error;
    ASSERT_TRUE(WriteBytes((sounds_ / name).string(), wav));
  }

  PackResult PackSounds() { return Pack({sounds_.string(), out_path_, base_path_, false}); }

  TempDir dir_;
  PageFileLayout base_;
  std::string base_path_ = dir_.File("vswap.wl6");
  std::string out_path_ = dir_.File("new.wl6");
  std::filesystem::path sounds_ = dir_.Path() / "sounds";
};

TEST_F(SoundPackTest, AnUnchangedExportPacksBackToTheSameBytes) {
  RWlFile file;
  std::string error;
  ASSERT_TRUE(LoadPageFile(file, base_path_, error)) << error;
  const SoundTable table = ReadSoundTable(file, ReadGameSections(file));
  EXPECT_EQ(table.Problems, std::vector<std::string>{});
  size_t written = 0;
  EXPECT_TRUE(ExportSounds(file, table, sounds_, written, error)) << error;
  EXPECT_EQ(written, 5u);
  const PackResult result = PackSounds();
  EXPECT_EQ(result.Errors, std::vector<std::string>{});
  EXPECT_EQ(std::tuple(result.ReplacedCount, result.UnchangedCount, result.CopiedCount),
            std::tuple(0u, 5u, 550u));
  EXPECT_TRUE(ReadBytes(out_path_) == BuildPageFile(base_));
}

TEST_F(SoundPackTest, AReplacedSoundChangesItsPagesTheTableAndWhatFollows) {
  // Sound 2 (chunk 542) grows from 1 page to 3: sounds 3 to 5 move 2 chunks on.
  std::vector<uint8_t> samples(8193);
  for (size_t k = 0; k < samples.size(); ++k) samples[k] = static_cast<uint8_t>(k * 7);
  WriteSound("sound-002.wav", samples);
  const PackResult result = PackSounds();
  EXPECT_EQ(result.Errors, std::vector<std::string>{});
  EXPECT_EQ(result.Replaced, std::vector<std::string>{
                                 "sound 002 (chunk 542, 3 pages) from sound-002.wav, 8193 samples, 1.163 s"});

  PageFileLayout expected = base_;
  expected.Chunks.erase(expected.Chunks.begin() + 542);
  for (size_t at = 0; at < samples.size(); at += 4096)
    expected.Chunks.insert(
        expected.Chunks.begin() + 542 + at / 4096,
        PageChunk{{samples.begin() + at, samples.begin() + std::min(at + 4096, samples.size())}, {}, {}});
  // (page, length): 0, 1; 1, 8193; 4, 4096; 5, 4097; 7, 9000.
  expected.Chunks.back().Bytes = {0, 0, 1, 0, 1, 0, 1, 32, 4, 0, 0, 16, 5, 0, 1, 16, 7, 0, 0x28, 0x23};
  EXPECT_TRUE(ReadBytes(out_path_) == BuildPageFile(expected));
}

TEST_F(SoundPackTest, SoundsThatCannotGoInAreAllReportedAndNothingIsWritten) {
  WriteSound("sound-001.wav", std::vector<uint8_t>(65536, 128));
  WriteSound("sound-009.wav", {1});
  ASSERT_TRUE(WriteBytes((sounds_ / "sound-003.flac").string(), {}));
  WriteSound("sound-003.wav", {1});
  ASSERT_TRUE(WriteBytes((sounds_ / "sound-004.ogg").string(), {'O', 'g', 'g', 'S', 0}));
  ASSERT_TRUE(WriteBytes((sounds_ / "sound-004.wav.bak").string(), {}));  // not a sound file of ours
  const PackResult result = PackSounds();
  ASSERT_EQ(result.Errors.size(), 3u);
  EXPECT_EQ(result.Errors[0], "sound-003.wav: sound-003.flac names the same sound; keep one of them");
  EXPECT_EQ(
      result.Errors[1],
      "sound-001.wav: the sound is 65536 samples long at 7042 Hz, 1 more than the 65535 a sound can hold");
  EXPECT_TRUE(result.Errors[2].starts_with("sound-004.ogg: ")) << result.Errors[2];
  EXPECT_FALSE(result.Written);
  EXPECT_FALSE(std::filesystem::exists(out_path_));

  std::filesystem::remove_all(sounds_);
  std::filesystem::create_directories(sounds_);
  WriteSound("sound-009.wav", {1});
  EXPECT_EQ(PackSounds().Errors,
            std::vector<std::string>{"sound 009 is not in the base file, whose table holds 5 sounds"});
}

}  // namespace
