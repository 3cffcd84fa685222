#include <gtest/gtest.h>
#include <libdeflate.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/palettefile.h"
#include "tempdir.h"

namespace {

TEST(Palette, TheResourceFileHoldsTheGamePaletteAsBlueGreenRedZero) {
  const std::vector<uint8_t> file = ReadBytes(TESSARINE_PALETTE_FILE);
  ASSERT_EQ(file.size(), 1024u);
  // The game's 256 colours, whole as their CRC-32; entry 1 is its dark blue
  // #0000A8 and entry 6 its brown #A85400, as 0x00RRGGBB.
  EXPECT_EQ(libdeflate_crc32(0, file.data(), file.size()), 0x754B7020u);
  EXPECT_EQ(ReadLe32(&file[4 * 1]), 0x0000A8u);
  EXPECT_EQ(ReadLe32(&file[4 * 6]), 0xA85400u);
  std::set<uint32_t> distinct;
  for (size_t at = 0; at < file.size(); at += 4) {
    EXPECT_EQ(file[at + 3], 0) << at / 4;
    EXPECT_EQ(file[at] % 4 + file[at + 1] % 4 + file[at + 2] % 4, 0) << "levels times 4: " << at / 4;
    distinct.insert(ReadLe32(&file[at]));
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
  // "BM", the size left, 1078 bytes to the pixels; a 40-byte info head, the
  // width and height left, one plane of 8 bits, uncompressed, then zeros.
  std::vector<uint8_t> head{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40,
                            0,   0,   0, 0, 0, 0, 0, 7, 0, 0, 0,    1, 0, 8, 0};
  head.resize(PaletteOffset, 0);
  EXPECT_EQ(std::vector<uint8_t>(t, t + PaletteOffset), head);

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

TEST_F(PaletteFileTest, EveryFormatWritesTheColorsInOrderAndReadsThemBack) {
  const Palette mod = Mod();
  const std::vector<uint8_t> act = PaletteFile(mod, PaletteFormat::Act);
  ASSERT_EQ(act.size(), 768u);
  for (size_t i = 0; i < 256; ++i) ASSERT_EQ((Rgb{act[3 * i], act[3 * i + 1], act[3 * i + 2]}), mod[i]) << i;
  // Both text formats: a head, then one "R G B" line per entry, the
  // JASC-PAL's lines ending in CR LF.
  for (const auto& [format, head] :
       {std::pair{PaletteFormat::Gimp, std::string("GIMP Palette\nName: Tessarine\nColumns: 16\n#\n")},
        std::pair{PaletteFormat::Jasc, std::string("JASC-PAL\r\n0100\r\n256\r\n")}}) {
    const std::vector<uint8_t> bytes = PaletteFile(mod, format);
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_TRUE(text.starts_with(head)) << text.substr(0, head.size());
    std::istringstream in(text.substr(head.size()));
    std::vector<Rgb> colors;
    for (std::string line; std::getline(in, line);) {
      EXPECT_EQ(line.back() == '\r', format == PaletteFormat::Jasc) << line;
      unsigned r = 999, g = 999, b = 999;
      std::istringstream(line) >> r >> g >> b;
      colors.push_back({static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)});
    }
    EXPECT_TRUE(std::equal(colors.begin(), colors.end(), mod.begin(), mod.end()));
  }

  std::vector<uint8_t> act772 = act;
  act772.insert(act772.end(), {1, 0, 0xFF, 0xFF});  // Adobe's count, big-endian, and no transparent index
  const std::pair<std::string, std::vector<uint8_t>> files[] = {
      {"mod.gpl", PaletteFile(mod, PaletteFormat::Gimp)},
      {"mod.pal", PaletteFile(mod, PaletteFormat::Jasc)},
      {"mod.act", act},
      {"mod.bin", act},
      {"mod.act", act772},
  };
  for (const auto& [name, bytes] : files) {
    Palette read;
    std::string error;
    ASSERT_TRUE(Read(bytes, name, read, error)) << name << " of " << bytes.size() << " bytes: " << error;
    EXPECT_EQ(read, mod) << name << " of " << bytes.size() << " bytes";
  }
  // Line ends of either kind, comments and blank lines in a GIMP palette.
  std::string gimp = "GIMP Palette\r\nName: x\r\nColumns: 4\r\n# made by hand\r\n\r\n";
  for (size_t i = 0; i < 256; ++i) gimp += "  1   2 " + std::to_string(i) + "\tcolour\r\n";
  Palette read;
  std::string error;
  ASSERT_TRUE(Read(Text(gimp), "x.gpl", read, error)) << error;
  EXPECT_EQ(read[255], (Rgb{1, 2, 255}));

  EXPECT_EQ(PaletteFormatOf("wolf.gpl"), PaletteFormat::Gimp);
  EXPECT_EQ(PaletteFormatOf("dir.x/WOLF.PAL"), PaletteFormat::Jasc);
  EXPECT_EQ(PaletteFormatOf("wolf.Act"), PaletteFormat::Act);
  for (const char* name : {"wolf.png", "wolf", "gpl", "dir.gpl/wolf", "wolf.gpl.txt", ".gpl/x"})
    EXPECT_EQ(PaletteFormatOf(name), std::nullopt) << name;
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
