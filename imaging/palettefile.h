// Palettes: the built-in one, and the files that image editors and mods use.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct Rgb {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb&) const = default;
  // 0xRRGGBB.
  uint32_t Packed() const { return uint32_t{R} << 16 | uint32_t{G} << 8 | B; }
};
using Palette = std::array<Rgb, 256>;

// The full game's palette, which the program carries.
Palette BuiltInPalette();

// A colour table as BMP files and the palette resource hold it: 4 bytes an
// entry, blue, green, red and one unused. Entries `table` does not hold
// whole are black.
Palette PaletteFromBmpTable(std::span<const uint8_t> table);
void WriteBmpTable(const Palette& palette, uint8_t* table);

enum class PaletteFormat {
  Gimp,  // .gpl: GIMP palette
  Jasc,  // .pal: JASC-PAL text, as Paint Shop Pro writes it
  Act,   // .act: Adobe colour table, 768 bytes of red, green, blue
};

// The format that a file name's extension names, in any letter case.
std::optional<PaletteFormat> PaletteFormatOf(const std::string& fileName);

std::vector<uint8_t> PaletteFile(const Palette& palette, PaletteFormat format);

// Reads the 256 colours of a palette file `name` whose bytes are `bytes`:
// a GIMP palette; a JASC-PAL text; an Adobe colour table (.act: 768 bytes,
// or 772 with a count of 256); or any other 768 bytes of red, green and
// blue, which are the VGA's 6-bit values (multiplied by 4, as the built-in
// palette's are) when none exceeds 63. Returns false, with the reason in
// `error`, for anything else, a palette of other than 256 colours included.
bool ReadPaletteFile(std::span<const uint8_t> bytes, const std::string& name, Palette& palette,
                     std::string& error);
