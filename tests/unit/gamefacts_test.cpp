// What info says of a file as the game reads it, where the file's header
// words do not fit and where it is damaged; cli_test shows the whole block
// of a file in order.
#include "cli/gamefacts.h"

#include <gtest/gtest.h>

#include "pagefiles.h"
#include "pagewriter.h"

namespace {

std::vector<std::string> Facts(const std::vector<uint8_t>& bytes) {
  const RWlFile file = LoadedFrom(bytes);
  const GameSections sections = ReadGameSections(file);
  return GameFacts(file, sections, ReadPageLayout(file), ReadSoundTable(file, sections));
}

TEST(GameFactsTest, TheViewersSplitStandsInForWordsThatDoNotFitAndDamageIsNamed) {
  PageFileLayout layout;
  layout.FirstSprite = 700;
  for (int i = 0; i < 600; ++i) layout.Chunks.push_back({{static_cast<uint8_t>(i), 1}, {}, {}});
  layout.Chunks.back().Bytes.clear();  // an absent table
  std::vector<uint8_t> bytes = BuildPageFile(layout);
  bytes.resize(bytes.size() - 100);
  EXPECT_EQ(Facts(bytes),
            (std::vector<std::string>{
                "As the game reads it",
                "Sections: the viewer's split; the header's first sprite chunk 700 and first sound "
                "chunk 0 include a 0",
                "Textures: 106",
                "Sprites: 435",
                "Sound pages: 58",
                "Sound table: chunk 599, 0 sounds; 'sounds' names its problem",
                "Layout: back to back",
                "After the last chunk: 0 bytes",
                "Damaged: 50 chunks (549, 550, 551, 552, 553, 554, 555, 556, ...) lie wholly or "
                "partly past the end of the file",
            }));
  bytes.resize(6 + 600 * 4 + 20);
  const std::vector<std::string> cut = Facts(bytes);
  ASSERT_EQ(cut.size(), 10u);
  EXPECT_EQ(cut[8],
            "Damaged: the file ends inside the directory: 590 of its 600 entries are missing and read as 0");
  EXPECT_EQ(cut[9],
            "Damaged: 10 chunks (0, 1, 2, 3, 4, 5, 6, 7, ...) lie wholly or partly past the end of the file");
  EXPECT_EQ(Facts({}), (std::vector<std::string>{"As the game reads it", "Chunks: none"}));
}

}  // namespace
