// PNG files of any colour type and bit depth, written and read through
// libspng's encoder and decoder, for tests and fuzz seeds: the pictures that
// image editors save, which the program itself never writes, and an
// independent reading of the ones it does write.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// PNG colour types, as IHDR numbers them.
enum class PngColor : uint8_t { Grey = 0, Rgb = 2, Indexed = 3, GreyAlpha = 4, Rgba = 6 };

struct PngPicture {
  uint32_t Width = 64;
  uint32_t Height = 64;
  PngColor Color = PngColor::Rgba;
  uint8_t Depth = 8;  // bits per sample: 1, 2, 4, 8 or 16 as the colour type allows
  bool Interlaced = false;
  // The samples as the file stores them, rows from the top: 16-bit ones
  // big-endian, those below 8 bits packed from each byte's high bits on,
  // each row starting on a byte. RowBytes() bytes a row.
  std::vector<uint8_t> Rows;
  std::vector<std::array<uint8_t, 3>> Plte;  // red, green, blue of each entry
  // tRNS: the alpha of the first entries of an indexed picture, or the one
  // transparent grey value or red, green and blue of the others.
  std::optional<std::vector<uint8_t>> TrnsAlpha;
  std::optional<std::array<uint16_t, 3>> TrnsColor;
  // Chunks that describe light, which a picture of palette colours ignores.
  std::optional<uint32_t> Gama;  // gAMA, gamma x 100000
  bool Chrm = false;             // the BT.709 primaries
  bool Srgb = false;
  bool Iccp = false;  // a small made-up profile

  size_t RowBytes() const;
  // Sample i of row y; SetSample writes it.
  uint32_t Sample(uint32_t y, size_t i) const;
  void SetSample(uint32_t y, size_t i, uint32_t value);
};

// The PNG file, or none if libspng refuses the picture (the message goes to
// `error` if given).
std::vector<uint8_t> EncodePngFile(const PngPicture& picture, std::string* error = nullptr);

// The file as it stores its samples and its chunks, or nothing if libspng
// cannot read it whole.
std::optional<PngPicture> DecodePngFile(const std::vector<uint8_t>& file);

// Where the first chunk of this type starts in `file` (its length field;
// its data follow 8 bytes on, its CRC after them), or none: for damaging it.
std::optional<size_t> FindPngChunk(const std::vector<uint8_t>& file, const char* type);
