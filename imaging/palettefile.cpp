#include "imaging/palettefile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "base/paletteresource.h"
#include "base/streams.h"

Palette BuiltInPalette() {
  MemoryStream resource;
  LoadPaletteResource(resource);
  return PaletteFromBmpTable(resource.Bytes());
}

Palette PaletteFromBmpTable(std::span<const uint8_t> table) {
  Palette palette;
  for (size_t i = 0; i < palette.size() && 4 * i + 2 < table.size(); ++i)
    palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i]};
  return palette;
}

void WriteBmpTable(const Palette& palette, uint8_t* table) {
  for (const Rgb c : palette) {
    *table++ = c.B;
    *table++ = c.G;
    *table++ = c.R;
    *table++ = 0;
  }
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

constexpr size_t kColors = 256;
constexpr size_t kRawSize = 3 * kColors;
constexpr size_t kActWithCount = kRawSize + 4;

// The lines of a text palette, without their line ends (LF or CR LF).
std::vector<std::string_view> Lines(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<std::string_view> lines;
  for (size_t at = 0; at <= text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (end < text.size() || !line.empty()) lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

// Up to `count` whole numbers from 0 to 65535 at the start of `line`,
// separated by blanks; what follows them is left alone. Returns how many.
size_t Numbers(std::string_view line, unsigned* values, size_t count) {
  size_t got = 0;
  size_t at = 0;
  while (got < count) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at == line.size() || !std::isdigit(static_cast<unsigned char>(line[at]))) break;
    unsigned value = 0;
    while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])) && value <= 65535)
      value = value * 10 + static_cast<unsigned>(line[at++] - '0');
    if (value > 65535) break;
    values[got++] = value;
    if (at < line.size() && line[at] != ' ' && line[at] != '\t') break;
  }
  return got;
}

// A colour line of a text palette, "R G B" with anything after it; false,
// with the reason, when it is not one.
bool ColorLine(std::string_view line, size_t lineNumber, Rgb& color, std::string& error) {
  unsigned v[3];
  if (Numbers(line, v, 3) != 3) {
    error = "line " + std::to_string(lineNumber) + " is not a colour of three numbers: '" +
            std::string(line.substr(0, 40)) + "'";
    return false;
  }
  if (v[0] > 255 || v[1] > 255 || v[2] > 255) {
    error = "line " + std::to_string(lineNumber) + " has a value over 255";
    return false;
  }
  color = {static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2])};
  return true;
}

std::string CountError(size_t count) {
  return "it holds " + std::to_string(count) + " colours; a palette of the game has 256";
}

bool ReadGimp(const std::vector<std::string_view>& lines, Palette& palette, std::string& error) {
  size_t count = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const size_t text = line.find_first_not_of(" \t");
    // Blank lines, comments and the "Name:" and "Columns:" lines.
    if (text == std::string_view::npos || line[text] == '#' ||
        !std::isdigit(static_cast<unsigned char>(line[text])))
      continue;
    Rgb color;
    if (!ColorLine(line, i + 1, color, error)) return false;
    if (count < kColors) palette[count] = color;
    ++count;
  }
  if (count != kColors) {
    error = CountError(count);
    return false;
  }
  return true;
}

bool ReadJasc(const std::vector<std::string_view>& lines, Palette& palette, std::string& error) {
  unsigned count = 0;
  if (lines.size() < 3 || lines[1] != "0100" || Numbers(lines[2], &count, 1) != 1) {
    error = "its JASC-PAL head is not \"JASC-PAL\", \"0100\" and the number of colours";
    return false;
  }
  if (count != kColors) {
    error = CountError(count);
    return false;
  }
  if (lines.size() < 3 + kColors) {
    error = "it names 256 colours but holds only " + std::to_string(lines.size() - 3);
    return false;
  }
  for (size_t i = 0; i < kColors; ++i)
    if (!ColorLine(lines[3 + i], 4 + i, palette[i], error)) return false;
  return true;
}

// Red, green and blue bytes: an Adobe colour table, which is 8-bit whatever
// its values, or the VGA's 6-bit values, which go up to 63 only.
bool ReadBinary(std::span<const uint8_t> bytes, bool act, Palette& palette, std::string& error) {
  if (bytes.size() == kActWithCount) {
    // Adobe's count is big-endian; a transparent index may follow it.
    const unsigned count = unsigned{bytes[kRawSize]} << 8 | bytes[kRawSize + 1];
    if (count != kColors) {
      error = CountError(count);
      return false;
    }
    act = true;
  } else if (bytes.size() != kRawSize) {
    error =
        "it is not a palette: not a GIMP or JASC-PAL text, nor 768 bytes of red, green and blue (772 for an "
        "Adobe colour table with its count), but " +
        std::to_string(bytes.size()) + " bytes";
    return false;
  }
  const bool vga = !act && std::all_of(bytes.begin(), bytes.end(), [](uint8_t v) { return v <= 63; });
  const int scale = vga ? 4 : 1;
  for (size_t i = 0; i < kColors; ++i)
    palette[i] = {static_cast<uint8_t>(bytes[3 * i] * scale), static_cast<uint8_t>(bytes[3 * i + 1] * scale),
                  static_cast<uint8_t>(bytes[3 * i + 2] * scale)};
  return true;
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

bool ReadPaletteFile(std::span<const uint8_t> bytes, const std::string& name, Palette& palette,
                     std::string& error) {
  const auto starts = [&](std::string_view head) {
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
  };
  std::string why;
  const bool read = starts("GIMP Palette") ? ReadGimp(Lines(bytes), palette, why)
                    : starts("JASC-PAL")
                        ? ReadJasc(Lines(bytes), palette, why)
                        : ReadBinary(bytes, PaletteFormatOf(name) == PaletteFormat::Act, palette, why);
  if (!read) error = "'" + name + "': " + why;
  return read;
}
