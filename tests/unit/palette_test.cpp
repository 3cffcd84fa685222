#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/palettefile.h"
#include "tempdir.h"

namespace {

// The game's palette as red, green, blue, eight entries a row.
const char* const kPaletteRows[32] = {
    "000000 0000A8 00A800 00A8A8 A80000 A800A8 A85400 A8A8A8",  // 0
    "545454 5454FC 54FC54 54FCFC FC5454 FC54FC FCFC54 FCFCFC",  // 8
    "ECECEC DCDCDC D0D0D0 C0C0C0 B4B4B4 A8A8A8 989898 8C8C8C",  // 16
    "7C7C7C 707070 646464 545454 484848 383838 2C2C2C 202020",  // 24
    "FC0000 EC0000 E00000 D40000 C80000 BC0000 B00000 A40000",  // 32
    "980000 880000 7C0000 700000 640000 580000 4C0000 400000",  // 40
    "FCD8D8 FCB8B8 FC9C9C FC7C7C FC5C5C FC4040 FC2020 FC0000",  // 48
    "FCA85C FC9840 FC8820 FC7800 E46C00 CC6000 B45400 9C4C00",  // 56
    "FCFCD8 FCFCB8 FCFC9C FCFC7C FCF85C FCF440 FCF420 FCF400",  // 64
    "E4D800 CCC400 B4AC00 9C9C00 848400 706C00 585400 404000",  // 72
    "D0FC5C C4FC40 B4FC20 A0FC00 90E400 80CC00 74B400 609C00",  // 80
    "D8FCD8 BCFCB8 9CFC9C 80FC7C 60FC5C 40FC40 20FC20 00FC00",  // 88
    "00FC00 00EC00 00E000 00D400 04C800 04BC00 04B000 04A400",  // 96
    "049800 048800 047C00 047000 046400 045800 044C00 044000",  // 104
    "D8FCFC B8FCFC 9CFCFC 7CFCF8 5CFCFC 40FCFC 20FCFC 00FCFC",  // 112
    "00E4E4 00CCCC 00B4B4 009C9C 008484 007070 005858 004040",  // 120
    "5CBCFC 40B0FC 20A8FC 009CFC 008CE4 007CCC 006CB4 005C9C",  // 128
    "D8D8FC B8BCFC 9C9CFC 7C80FC 5C60FC 4040FC 2024FC 0004FC",  // 136
    "0000FC 0000EC 0000E0 0000D4 0000C8 0000BC 0000B0 0000A4",  // 144
    "000098 000088 00007C 000070 000064 000058 00004C 000040",  // 152
    "282828 FCE034 FCD424 FCCC18 FCC008 FCB400 B420FC A800FC",  // 160
    "9800E4 8000CC 7400B4 60009C 500084 440070 340058 280040",  // 168
    "FCD8FC FCB8FC FC9CFC FC7CFC FC5CFC FC40FC FC20FC FC00FC",  // 176
    "E000E4 C800CC B400B4 9C009C 840084 6C0070 580058 400040",  // 184
    "FCE8DC FCE0D0 FCD8C4 FCD4BC FCCCB0 FCC4A4 FCBC9C FCB890",  // 192
    "FCB080 FCA470 FC9C60 F0945C E88C58 DC8854 D08050 C87C4C",  // 200
    "BC7848 B47044 A86840 A0643C 9C6038 905C34 885830 80502C",  // 208
    "744C28 6C4824 5C4020 543C1C 483818 403018 382C14 28200C",  // 216
    "600064 006464 006060 00001C 00002C 302410 480048 500050",  // 224
    "000034 1C1C1C 4C4C4C 5C5C5C 404040 303030 343434 D8F4F4",  // 232
    "B8E8E8 9CDCDC 74C8C8 48C0C0 20B4B4 20B0B0 00A4A4 009898",  // 240
    "008C8C 008484 007C7C 007878 007474 007070 006C6C 980088",  // 248
};

TEST(Palette, TheResourceFileHoldsTheGamePaletteAsBlueGreenRedZero) {
  const std::vector<uint8_t> file = ReadBytes(TESSARINE_PALETTE_FILE);
  ASSERT_EQ(file.size(), 1024u);
  std::set<uint32_t> distinct;
  for (int row = 0; row < 32; ++row) {
    const std::string text = kPaletteRows[row];
    for (int k = 0; k < 8; ++k) {
      const unsigned rgb = std::stoul(text.substr(static_cast<size_t>(k) * 7, 6), nullptr, 16);
      const size_t at = static_cast<size_t>(row * 8 + k) * 4;
      EXPECT_EQ(file[at + 0], rgb & 0xFF) << "blue of entry " << row * 8 + k;
      EXPECT_EQ(file[at + 1], (rgb >> 8) & 0xFF) << "green of entry " << row * 8 + k;
      EXPECT_EQ(file[at + 2], rgb >> 16) << "red of entry " << row * 8 + k;
      EXPECT_EQ(file[at + 3], 0);
      EXPECT_EQ(file[at + 2] % 4 + file[at + 1] % 4 + file[at] % 4, 0) << "levels times 4";
      distinct.insert(rgb);
    }
  }
  EXPECT_EQ(distinct.size(), 250u);
}

TEST(BmpTemplate, HoldsTheConstantHeaderAndThePaletteAfterInit) {
  // The per-image fields belong to the decoder: initialisation leaves them as
  // they are (zero at start-up, whatever the last decode wrote later).
  uint8_t* t = BmpTemplate.data();
  WriteLe32(t + BfSizeOffset, 0);
  WriteLe32(t + BiWidthOffset, 0);
  WriteLe32(t + BiHeightOffset, 7);
  InitBmpTemplate();
  EXPECT_EQ(t[0], 0x42);
  EXPECT_EQ(t[1], 0x4D);
  EXPECT_EQ(ReadLe32(t + BfSizeOffset), 0u);
  EXPECT_EQ(ReadLe32(t + 10), 1078u);
  EXPECT_EQ(ReadLe32(t + 14), 40u);
  EXPECT_EQ(ReadLe32(t + BiWidthOffset), 0u);
  EXPECT_EQ(ReadLe32(t + BiHeightOffset), 7u);
  EXPECT_EQ(ReadLe16(t + 26), 1);
  EXPECT_EQ(ReadLe16(t + 28), 8);
  for (size_t field = 30; field < 54; field += 4) EXPECT_EQ(ReadLe32(t + field), 0u) << field;

  const std::vector<uint8_t> file = ReadBytes(TESSARINE_PALETTE_FILE);
  ASSERT_EQ(file.size(), PaletteSize);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), t + PaletteOffset));
}

TEST(BmpTemplate, AHeadForAnyPaletteIsTheTemplatesWithThatPalette) {
  InitBmpTemplate();
  BmpHeadBytes head = BmpTemplate;
  for (size_t field : {BfSizeOffset, BiWidthOffset, BiHeightOffset}) WriteLe32(head.data() + field, 0);
  const Palette builtIn = BuiltInPalette();
  EXPECT_EQ(BmpHead(builtIn), head) << "the built-in palette is the resource's";
  Palette other = builtIn;
  other[200] = {1, 2, 3};
  head = BmpHead(other);
  EXPECT_EQ((std::vector<uint8_t>(head.begin() + PaletteOffset + 800, head.begin() + PaletteOffset + 804)),
            (std::vector<uint8_t>{3, 2, 1, 0}));
}

class PaletteFileTest : public ::testing::Test {
 protected:
  static bool Read(const std::vector<uint8_t>& bytes, const std::string& name, Palette& palette,
                   std::string& error) {
    return ReadPaletteFile(bytes, name, palette, error);
  }
  static std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }
  // A palette unlike the built-in one, with values from 0 to 255.
  static Palette Mod() {
    Palette p;
    for (size_t i = 0; i < p.size(); ++i)
      p[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)};
    return p;
  }
};

TEST_F(PaletteFileTest, EveryFormatReadsBackWhatWasWritten) {
  const Palette mod = Mod();
  std::vector<uint8_t> act772 = PaletteFile(mod, PaletteFormat::Act);
  act772.insert(act772.end(), {1, 0, 0xFF, 0xFF});  // Adobe's count, big-endian, and no transparent index
  const std::pair<std::string, std::vector<uint8_t>> files[] = {
      {"mod.gpl", PaletteFile(mod, PaletteFormat::Gimp)},
      {"mod.pal", PaletteFile(mod, PaletteFormat::Jasc)},
      {"mod.act", PaletteFile(mod, PaletteFormat::Act)},
      {"mod.bin", PaletteFile(mod, PaletteFormat::Act)},
      {"mod.act", act772},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name + " of " + std::to_string(bytes.size()) + " bytes");
    Palette read;
    std::string error;
    ASSERT_TRUE(Read(bytes, name, read, error)) << error;
    EXPECT_EQ(read, mod);
  }
  // Line ends of either kind, comments and blank lines in a GIMP palette.
  std::string gimp = "GIMP Palette\r\nName: x\r\nColumns: 4\r\n# made by hand\r\n\r\n";
  for (size_t i = 0; i < 256; ++i) gimp += "  1   2 " + std::to_string(i) + "\tcolour\r\n";
  Palette read;
  std::string error;
  ASSERT_TRUE(Read(Text(gimp), "x.gpl", read, error)) << error;
  EXPECT_EQ(read[255], (Rgb{1, 2, 255}));
}

TEST_F(PaletteFileTest, RawBytesUpTo63AreTheVgasSixBitValues) {
  // The built-in palette is the VGA's values times 4.
  const Palette builtIn = BuiltInPalette();
  std::vector<uint8_t> vga;
  for (const Rgb c : builtIn)
    vga.insert(vga.end(),
               {static_cast<uint8_t>(c.R / 4), static_cast<uint8_t>(c.G / 4), static_cast<uint8_t>(c.B / 4)});
  Palette read;
  std::string error;
  ASSERT_TRUE(Read(vga, "wolf.dat", read, error)) << error;
  EXPECT_EQ(read, builtIn);
  // The same bytes as an Adobe colour table are 8-bit, dark as they are.
  ASSERT_TRUE(Read(vga, "wolf.act", read, error)) << error;
  EXPECT_EQ(read[7], (Rgb{42, 42, 42}));
  // One value over 63: 8-bit.
  vga[5] = 64;
  ASSERT_TRUE(Read(vga, "wolf.dat", read, error)) << error;
  EXPECT_EQ(read[7], (Rgb{42, 42, 42}));
}

TEST_F(PaletteFileTest, AnythingElseIsRefusedWithTheFileAndTheReason) {
  std::string jasc = "JASC-PAL\n0100\n256\n";
  for (int i = 0; i < 255; ++i) jasc += "1 2 3\n";
  std::string gimp = "GIMP Palette\n";
  for (int i = 0; i < 255; ++i) gimp += "1 2 3\n";
  std::vector<uint8_t> act772(772, 0);
  act772[769] = 16;
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {{},
       "'p.pal': it is not a palette: not a GIMP or JASC-PAL text, nor 768 bytes of red, green and blue (772 "
       "for an Adobe colour table with its count), but 0 bytes"},
      {std::vector<uint8_t>(1024, 0), "but 1024 bytes"},
      {Text(gimp), "'p.pal': it holds 255 colours; a palette of the game has 256"},
      {Text(gimp + "1 2 3\n1 2 3\n"), "it holds 257 colours"},
      {Text(gimp + "1 2\n"), "'p.pal': line 257 is not a colour of three numbers: '1 2'"},
      {Text(gimp + "1 2 256\n"), "line 257 has a value over 255"},
      {Text("JASC-PAL\n0100\n16\n1 2 3\n"), "it holds 16 colours"},
      {Text("JASC-PAL\n0200\n256\n"), "its JASC-PAL head is not"},
      {Text(jasc), "it names 256 colours but holds only 255"},
      {Text(jasc + "1 x 3\n"), "line 259 is not a colour"},
      {act772, "it holds 16 colours"},
  };
  for (const auto& [bytes, message] : cases) {
    Palette read;
    std::string error;
    EXPECT_FALSE(Read(bytes, "p.pal", read, error)) << message;
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

}  // namespace
