#include "imaging/picturereader.h"

#include <algorithm>
#include <cstdio>

#include "base/bitmap.h"

PaletteMatcher::PaletteMatcher(const Palette& palette) {
  for (size_t i = 0; i < colors_.size(); ++i) colors_[i] = palette[i].Packed();
  for (size_t i = 0; i < colors_.size(); ++i) sorted_.emplace_back(colors_[i], static_cast<uint8_t>(i));
  // Stable, so that of equal colours the lowest index comes first.
  std::stable_sort(sorted_.begin(), sorted_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

int PaletteMatcher::Exact(uint32_t color) const {
  const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), color,
                                   [](const auto& entry, uint32_t c) { return entry.first < c; });
  return it != sorted_.end() && it->first == color ? it->second : -1;
}

int PaletteMatcher::Nearest(uint32_t color) const {
  int best = 0;
  int bestDistance = INT32_MAX;
  for (int i = 0; i < 256; ++i) {
    int distance = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int d = static_cast<int>(color >> shift & 0xFF) - static_cast<int>(colors_[i] >> shift & 0xFF);
      distance += d * d;
    }
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

namespace {

std::string Hex(uint32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", color & 0xFFFFFF);
  return text;
}

// The first pixel of one kind of fault, and how many more there are, so
// that a picture full of bad pixels gives one line per fault.
class Fault {
 public:
  void Add(int x, int y, const std::string& what) {
    if (count_++ == 0) first_ = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") " + what;
  }
  void Report(std::vector<std::string>& errors, const char* others) const {
    if (count_ == 0) return;
    errors.push_back(count_ == 1 ? first_
                                 : first_ + " (and " + std::to_string(count_ - 1) + " more " + others + ")");
  }

 private:
  size_t count_ = 0;
  std::string first_;
};

// Turns the pixels' colours (0xAARRGGBB) into indices and holes.
class PixelMapper {
 public:
  explicit PixelMapper(const ReadOptions& options) : options_(options) {}

  void Put(int x, int y, uint32_t argb) {
    const size_t at = static_cast<size_t>(x * FrameSide + y);
    const uint32_t alpha = argb >> 24;
    if (alpha == 0) return;  // a hole: Opaque stays 0
    if (alpha != 255) {
      alpha_.Add(x, y,
                 "is partly transparent (alpha " + std::to_string(alpha) +
                     "): a pixel is either drawn (alpha 255) or a hole (alpha 0)");
      return;
    }
    const uint32_t color = argb & 0xFFFFFF;
    int index = options_.Palette->Exact(color);
    if (index >= 0 && options_.Base && options_.Base->Opaque[at] &&
        options_.Palette->Color(options_.Base->Index[at]) == color)
      index = options_.Base->Index[at];
    if (index < 0 && options_.Nearest) {
      index = options_.Palette->Nearest(color);
      ++result_.MovedToNearest;
    }
    if (index < 0) {
      color_.Add(x, y, "has the colour " + Hex(color) + ", which is not in the palette");
      return;
    }
    result_.Picture.Index[at] = static_cast<uint8_t>(index);
    result_.Picture.Opaque[at] = 1;
  }

  // A pixel of a palette picture whose palette is the game's.
  void PutIndex(int x, int y, uint8_t index, uint32_t alpha) {
    const size_t at = static_cast<size_t>(x * FrameSide + y);
    if (alpha == 255) {
      result_.Picture.Index[at] = index;
      result_.Picture.Opaque[at] = 1;
    } else if (alpha != 0) {
      Put(x, y, alpha << 24);
    }
  }

  // A pixel whose index the colour table does not reach.
  void PutPastTable(int x, int y, uint8_t index, size_t entries) {
    past_.Add(x, y,
              "has index " + std::to_string(index) + ", but the PLTE has only " + std::to_string(entries) +
                  " colours");
  }

  PictureRead Finish() {
    past_.Report(result_.Errors, "pixels of indices past the PLTE");
    alpha_.Report(result_.Errors, "partly transparent pixels");
    color_.Report(result_.Errors, "pixels of colours not in the palette");
    return std::move(result_);
  }

 private:
  const ReadOptions& options_;
  PictureRead result_;
  Fault past_;
  Fault alpha_;
  Fault color_;
};

}  // namespace

PictureRead MapPalettePixels(std::span<const uint8_t> indices, std::span<const uint32_t> table,
                             const ReadOptions& options) {
  PixelMapper mapper(options);
  bool gamePalette = table.size() >= 256;
  for (size_t i = 0; i < 256 && gamePalette; ++i)
    gamePalette = (table[i] & 0xFFFFFF) == options.Palette->Color(static_cast<int>(i));
  for (int y = 0; y < FrameSide; ++y) {
    for (int x = 0; x < FrameSide; ++x) {
      const uint8_t index = indices[static_cast<size_t>(y * FrameSide + x)];
      // A BMP's table always has 256 entries; a PNG's PLTE may have fewer.
      if (index >= table.size()) {
        mapper.PutPastTable(x, y, index, table.size());
        continue;
      }
      const uint32_t entry = table[index];
      if (gamePalette)
        mapper.PutIndex(x, y, index, entry >> 24);
      else
        mapper.Put(x, y, entry);
    }
  }
  return mapper.Finish();
}

PictureRead MapColorPixels(std::span<const uint8_t> rgba, const ReadOptions& options) {
  PixelMapper mapper(options);
  for (int y = 0; y < FrameSide; ++y) {
    for (int x = 0; x < FrameSide; ++x) {
      const uint8_t* p = rgba.data() + 4 * static_cast<size_t>(y * FrameSide + x);
      mapper.Put(x, y, uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
  }
  return mapper.Finish();
}

bool FramedSize(int64_t width, int64_t height, std::string& error) {
  if (width == FrameSide && height == FrameSide) return true;
  error = "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
          " pixels; a framed picture is 64 x 64";
  return false;
}

PictureRead ReadFramedBmp(std::span<const uint8_t> bytes, const ReadOptions& options) {
  Bitmap bitmap;
  PictureRead failed;
  if (!bitmap.LoadFromBytes(bytes)) {
    failed.Errors.push_back("not a BMP picture that can be read (uncompressed, 1 to 32 bits per pixel)");
    return failed;
  }
  if (bitmap.BitCount() != 8) {
    failed.Errors.push_back("the BMP picture has " + std::to_string(bitmap.BitCount()) +
                            " bits per pixel; a texture as BMP has 8, as `export` writes it");
    return failed;
  }
  if (std::string error; !FramedSize(bitmap.Width(), bitmap.Height(), error)) {
    failed.Errors.push_back(error);
    return failed;
  }
  std::array<uint8_t, FrameSide * FrameSide> indices;
  for (int y = 0; y < FrameSide; ++y)
    for (int x = 0; x < FrameSide; ++x)
      indices[static_cast<size_t>(y * FrameSide + x)] = static_cast<uint8_t>(bitmap.PixelIndex(x, y));
  // The bitmap always holds all 256 entries of an 8-bit table.
  const Palette colors = PaletteFromBmpTable(bitmap.Info().subspan(40));
  std::array<uint32_t, 256> table;
  for (size_t i = 0; i < table.size(); ++i) table[i] = 0xFF000000u | colors[i].Packed();
  return MapPalettePixels(indices, table, options);
}
