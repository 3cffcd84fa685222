#include "imaging/palettefile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "imaging/bmptemplate.h"

Palette BuiltInPalette() {
  // BmpTemplate's colour table is blue, green, red, unused.
  Palette palette;
  const uint8_t* table = BmpTemplate.data() + PaletteOffset;
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i]};
  return palette;
}

std::optional<PaletteFormat> PaletteFormatOf(const std::string& fileName) {
  const size_t dot = fileName.find_last_of("./\\");
  if (dot == std::string::npos || fileName[dot] != '.') return std::nullopt;
  std::string extension = fileName.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "gpl") return PaletteFormat::Gimp;
  if (extension == "pal") return PaletteFormat::Jasc;
  if (extension == "act") return PaletteFormat::Act;
  return std::nullopt;
}

namespace {

void Append(std::vector<uint8_t>& out, const char* text) {
  while (*text) out.push_back(static_cast<uint8_t>(*text++));
}

}  // namespace

std::vector<uint8_t> PaletteFile(const Palette& palette, PaletteFormat format) {
  std::vector<uint8_t> out;
  char line[64];
  switch (format) {
    case PaletteFormat::Gimp:
      Append(out, "GIMP Palette\nName: Tessarine\nColumns: 16\n#\n");
      for (size_t i = 0; i < palette.size(); ++i) {
        const Rgb c = palette[i];
        std::snprintf(line, sizeof line, "%3u %3u %3u\tIndex %zu\n", c.R, c.G, c.B, i);
        Append(out, line);
      }
      break;
    case PaletteFormat::Jasc:
      // Paint Shop Pro's own files end their lines the Windows way.
      Append(out, "JASC-PAL\r\n0100\r\n256\r\n");
      for (const Rgb c : palette) {
        std::snprintf(line, sizeof line, "%u %u %u\r\n", c.R, c.G, c.B);
        Append(out, line);
      }
      break;
    case PaletteFormat::Act:
      for (const Rgb c : palette) out.insert(out.end(), {c.R, c.G, c.B});
      break;
  }
  return out;
}
