// The bundled sample as the viewer loads it. Its chunks come from the
// project's encoders, whose layout pack_test checks; here, that the sample
// fills every section with pictures.
#include <gtest/gtest.h>

#include <bitset>
#include <string>
#include <tuple>
#include <vector>

#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/sections.h"
#include "pagefile/soundtable.h"
#include "pagefile/wlfile.h"

namespace {

class Sample : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitBmpTemplate();
    std::string error;
    LoadPageFile(file_, TESSARINE_SAMPLE_FILE, error);
  }
  static RWlFile file_;
};
RWlFile Sample::file_;

TEST_F(Sample, FillsEverySectionAndItsSoundTableFits) {
  ASSERT_EQ(file_.Chunks.size(), 545u);
  EXPECT_EQ(std::tuple(file_.TextureCount, file_.SpriteCount, file_.TextureBytes),
            std::tuple(106u, 435u, 106u * 4096));
  const GameSections sections = ReadGameSections(file_);
  EXPECT_TRUE(sections.FromHeader && sections.Sprites() == 435);
  const SoundTable sounds = ReadSoundTable(file_, sections);
  EXPECT_EQ(sounds.Problems, std::vector<std::string>{});
  EXPECT_EQ(sounds.Sounds.size(), 3u);
}

TEST_F(Sample, ElementsArePicturesOfSeveralColorsAndManyWidths) {
  std::bitset<65> widths;
  for (uint32_t i = 0; i < TextureChunks + SpriteChunks; ++i) {
    ASSERT_TRUE(EnsureDecoded(file_, i));
    EXPECT_GE(file_.Chunks[i].Colors, 4) << "chunk " << i;
    widths.set(static_cast<size_t>(file_.Chunks[i].Image->Width()));
  }
  EXPECT_GE(widths.count(), 20u);
}

}  // namespace
