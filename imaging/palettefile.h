// The built-in palette in the files that image editors read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Rgb {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb&) const = default;
};
using Palette = std::array<Rgb, 256>;

// The palette that BmpTemplate holds; InitBmpTemplate must have run.
Palette BuiltInPalette();

enum class PaletteFormat {
  Gimp,  // .gpl: GIMP palette
  Jasc,  // .pal: JASC-PAL text, as Paint Shop Pro writes it
  Act,   // .act: Adobe colour table, 768 bytes of red, green, blue
};

// The format that a file name's extension names, in any letter case.
std::optional<PaletteFormat> PaletteFormatOf(const std::string& fileName);

std::vector<uint8_t> PaletteFile(const Palette& palette, PaletteFormat format);
