// Framed pictures from PNG and BMP files made outside the program: each
// pixel becomes a palette index of the game's palette, or a hole.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/framedpicture.h"
#include "imaging/palettefile.h"

// The game's palette, for looking colours up. Colours are 0xRRGGBB.
class PaletteMatcher {
 public:
  explicit PaletteMatcher(const Palette& palette);

  uint32_t Color(int index) const { return colors_[static_cast<size_t>(index)]; }
  // The lowest index with exactly this colour, or -1.
  int Exact(uint32_t color) const;
  // The index whose colour is nearest: the smallest sum of the squared
  // differences of red, green and blue; the lowest index on a tie.
  int Nearest(uint32_t color) const;

 private:
  std::array<uint32_t, 256> colors_{};
  // Colours sorted, each with its lowest index, for exact look-ups.
  std::vector<std::pair<uint32_t, uint8_t>> sorted_;
};

struct PictureRead {
  FramedPicture Picture;
  // What is wrong with the picture, each naming the pixel and its value;
  // the picture is usable only when there is none.
  std::vector<std::string> Errors;
  // Pixels whose colour was not in the palette and that took the nearest.
  size_t MovedToNearest = 0;
};

// How the pixels of a picture become indices.
struct ReadOptions {
  const PaletteMatcher* Palette = nullptr;
  bool Nearest = false;  // otherwise a colour not in the palette is an error
  // The picture that the base file's chunk draws at this place, as
  // FrameElement frames it, or none. A colour that the palette holds at
  // several indices does not say which of them a pixel had: a drawn pixel of
  // such a colour takes Base's index at that pixel when Base draws it in
  // that colour, and the lowest index otherwise.
  const FramedPicture* Base = nullptr;
};

// The steps both readers share, once the file's own format is decoded.
// Pixels as indices into a colour table (0xAARRGGBB entries), 64 rows of 64
// from the top: a table whose first 256 colours are the game's palette gives
// the indices as they are. An index past the table's end is an error.
PictureRead MapPalettePixels(std::span<const uint8_t> indices, std::span<const uint32_t> table,
                             const ReadOptions& options);
// Pixels as red, green, blue and alpha bytes, 64 rows of 64 from the top.
PictureRead MapColorPixels(std::span<const uint8_t> rgba, const ReadOptions& options);
// Whether a picture of this size is framed; if not, `error` says why.
bool FramedSize(int64_t width, int64_t height, std::string& error);

// A 64 x 64 8-bit BMP file image (what `export` writes for textures). A
// colour table that is the game's palette gives its indices as they are;
// any other table's colours are looked up. Every pixel is opaque.
PictureRead ReadFramedBmp(std::span<const uint8_t> bytes, const ReadOptions& options);

// A 64 x 64 PNG file image, through libspng: every colour type at every bit
// depth, interlaced or not. An indexed PNG whose palette is the game's gives
// its indices as they are, and the entries that its tRNS chunk makes fully
// transparent are holes; any other PNG's colours are looked up, alpha 0 (or
// tRNS's colour) being a hole. Partial alpha is an error. Samples are the
// palette's values, not light: 16-bit ones become v / 257 rounded, lower
// depths are scaled up to 8 bits, and gAMA, cHRM, sRGB and iCCP change
// nothing. A file that cannot be read whole (a chunk's CRC wrong, cut short,
// damaged image data) is refused.
PictureRead ReadFramedPng(std::span<const uint8_t> bytes, const ReadOptions& options);
