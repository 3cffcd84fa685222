#include "nodetext/nodetext.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "pagefiles.h"
#include "pagewriter.h"
#include "ui/texts.h"

namespace {

// The section words are checked in their captions below.
TEST(Cp1251ToUtf8, ConvertsTheProgramsTexts) {
  EXPECT_EQ(Cp1251ToUtf8(MenuOpen), "&Открыть...\tCtrl+O");
  EXPECT_EQ(Cp1251ToUtf8(AboutTitle), "О программе ''");
  EXPECT_EQ(Cp1251ToUtf8("\x88\xA8\xB8\xB9"), "€Ёё№");
  EXPECT_EQ(Cp1251ToUtf8("plain"), "plain");
}

TEST(Captions, FileNodeIsTheNameAfterTheLastSeparator) {
  EXPECT_EQ(FileNodeCaption("C:\\games\\VSWAP.WL6"), "VSWAP.WL6");
  EXPECT_EQ(FileNodeCaption("d:vswap.wl1"), "vswap.wl1");
  EXPECT_EQ(FileNodeCaption("vswap.wl6"), "vswap.wl6");
  EXPECT_EQ(FileNodeCaption("C:\\Игры\\Wolf3D/vswap.wl6"), "vswap.wl6");
  EXPECT_EQ(FileNodeCaption("C:\\games\\"), "");
}

TEST(Captions, ElementsAreNumberedWithinTheirSection) {
  EXPECT_EQ(ElementCaption(SectionKind::Texture, 1), "Текстура 1");
  EXPECT_EQ(ElementCaption(SectionKind::Sprite, 435), "Спрайт 435");
  EXPECT_EQ(ElementCaption(SectionKind::Unknown, 122), "Не известен 122");
  EXPECT_EQ(SectionNodeKind(SectionKind::Sprite), SpriteSection);
  EXPECT_EQ(ElementNodeKind(SectionKind::Unknown), UnknownElement);
}

TEST(ColorBitsText, IsTheSmallestBitCountThatHoldsTheColors) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "1"},   {1, "1"},   {2, "1"},   {3, "2"},  {4, "2"},  {5, "3"},    {8, "3"},
      {9, "4"},   {16, "4"},  {17, "5"},  {32, "5"}, {33, "6"}, {64, "6"},   {65, "7"},
      {128, "7"}, {129, "8"}, {256, "8"}, {257, ""}, {-1, ""},  {100000, ""}};
  for (const auto& [n, bits] : cases) EXPECT_EQ(ColorBitsText(n), bits) << n;
}

// A loaded file of 663 chunks, chunk i being i bytes long.
RWlFile TableOf663() {
  PageFileLayout layout;
  for (size_t i = 0; i < 663; ++i) layout.Chunks.push_back({std::vector<uint8_t>(i), {}, {}});
  return LoadedFrom(BuildPageFile(layout));
}

std::vector<std::string> Written(const NodeInfo& info) {
  std::vector<std::string> out{info.Title};
  for (const auto& line : info.Lines) out.push_back(line.value_or("-"));
  return out;
}

using Lines = std::vector<std::string>;

TEST(NodeInfoText, FileAndSections) {
  const RWlFile f = TableOf663();
  // 6 + 6 * 663 bytes of header and directory, then 0 + 1 + ... + 662.
  EXPECT_EQ(Written(NodeInfoText(FileNode, f)),
            (Lines{"Wolf3D Grafic File", "File Size: 223437", "Elements: 663", "-", "-", "-"}));
  EXPECT_EQ(Written(NodeInfoText(TextureSection, f)),
            (Lines{"Texture Section", "Size: 5565", "Elements: 106", "-", "-", "-"}));
  EXPECT_EQ(Written(NodeInfoText(SpriteSection, f))[2], "Elements: 435");
  EXPECT_EQ(Written(NodeInfoText(UnknownSection, f)),
            (Lines{"Unknow Section", "Size: 73383", "Elements: 122", "-", "-", "-"}));
}

TEST(NodeInfoText, ElementsNumberFromOneInEachSection) {
  RWlFile f = TableOf663();
  f.Chunks[0].Size = 10;  // a short texture still reads 4096
  f.Chunks[0].Colors = 12;
  EXPECT_EQ(
      Written(NodeInfoText(TextureElement, f, 0)),
      (Lines{"Texture Element", "Num: 1", "Size: 4096", "Width: 64", "Height: 64", "Colors: 12 (4 bit)"}));
  f.Chunks[106].Colors = 256;
  EXPECT_EQ(
      Written(NodeInfoText(SpriteElement, f, 106)),
      (Lines{"Sprite Element", "Num: 1", "Size: 106", "Width: 0", "Height: 64", "Colors: 256 (8 bit)"}));
  EXPECT_EQ(Written(NodeInfoText(UnknownElement, f, 541)),
            (Lines{"Unknow Element", "Num: 1", "Size: 541", "-", "-", "-"}));
  f.Chunks[662].Size = 0;
  EXPECT_EQ(NodeInfoText(UnknownElement, f, 662).Lines[1], "Size: 0");
  EXPECT_EQ(Written(NodeInfoText(NoNode, f)), (Lines{"", "-", "-", "-", "-", "-"}));
}

TEST(NodeInfoText, NumbersCountFromTheFilesOwnSectionCounts) {
  // A table whose counts differ from the fixed section sizes tells the two
  // apart: numbers start after the counted textures and sprites.
  RWlFile f = TableOf663();
  f.TextureCount = 100;
  f.SpriteCount = 400;
  EXPECT_EQ(NodeInfoText(SpriteElement, f, 106).Lines[0], "Num: 7");
  EXPECT_EQ(NodeInfoText(UnknownElement, f, 541).Lines[0], "Num: 42");
}

}  // namespace
