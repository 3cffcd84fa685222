#include "imaging/framedpng.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>

#include "base/bytes.h"
#include "imaging/framing.h"

namespace {

// The colour types of the PNG files the program writes, as IHDR numbers them.
enum class PngColor : uint8_t { Palette = 3, Rgba = 6 };

// What one PNG holds besides its rows.
struct PngHead {
  uint32_t Width = 0;
  uint32_t Height = 0;
  PngColor Color = PngColor::Palette;
  const Palette* Colors = nullptr;  // for PngColor::Palette
  int Transparent = -1;             // the index that tRNS makes transparent, if any
  bool Srgb = false;                // an sRGB chunk, perceptual intent
};

// libdeflate compresses a whole picture at once, with none of the
// per-stream set-up that zlib spends more time on than on a 4 KB picture.
// Its fastest level: the export of a whole file is measured against writing
// BMP files, and higher levels save little on pictures this small. One
// compressor per thread serves every picture.
libdeflate_compressor* Compressor() {
  constexpr int level = 1;
  struct Free {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
  };
  thread_local std::unique_ptr<libdeflate_compressor, Free> compressor(libdeflate_alloc_compressor(level));
  return compressor.get();
}

// A chunk is its data's length, its type, the data and the CRC of type and
// data. BeginChunk leaves room for the length; the caller appends the data
// and EndChunk fills in the length and appends the CRC.
size_t BeginChunk(std::vector<uint8_t>& out, const char (&type)[5]) {
  const size_t start = out.size();
  out.resize(start + 4);
  out.insert(out.end(), type, type + 4);
  return start;
}

void EndChunk(std::vector<uint8_t>& out, size_t start) {
  const size_t length = out.size() - start - 8;
  WriteBe32(out.data() + start, static_cast<uint32_t>(length));
  const uint32_t crc = libdeflate_crc32(0, out.data() + start + 4, length + 4);
  out.resize(out.size() + 4);
  WriteBe32(out.data() + out.size() - 4, crc);
}

// Writes the rows (each Width pixels of the colour type's size, `stride`
// bytes apart from the top row on) as a whole PNG file into `out`: the
// signature, IHDR, sRGB, PLTE and tRNS where the head asks for them, one
// IDAT of all the rows, and IEND.
bool WritePng(const PngHead& head, const uint8_t* top, ptrdiff_t stride, std::vector<uint8_t>& out,
              std::string& error) {
  libdeflate_compressor* compressor = Compressor();
  if (!compressor) {
    error = "out of memory for the compressor";
    return false;
  }
  // Each row of the image data starts with its filter type, 0 for none:
  // pictures of palette indices gain nothing from filtering.
  const size_t channels = head.Color == PngColor::Rgba ? 4 : 1;
  const size_t rowBytes = head.Width * channels;
  std::vector<uint8_t> raw((rowBytes + 1) * head.Height);
  for (size_t y = 0; y < head.Height; ++y) {
    raw[y * (rowBytes + 1)] = 0;
    std::memcpy(&raw[y * (rowBytes + 1) + 1], top + static_cast<ptrdiff_t>(y) * stride, rowBytes);
  }
  const size_t bound = libdeflate_zlib_compress_bound(compressor, raw.size());

  static constexpr uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.assign(std::begin(signature), std::end(signature));
  // Room for every chunk, so that the file is never moved while it grows.
  out.reserve(sizeof signature + 25 + 13 + 780 + 268 + 12 + bound + 12);
  size_t chunk = BeginChunk(out, "IHDR");
  uint8_t ihdr[13] = {};
  WriteBe32(ihdr, head.Width);
  WriteBe32(ihdr + 4, head.Height);
  ihdr[8] = 8;  // bits per sample; compression, filter method and interlacing all 0
  ihdr[9] = static_cast<uint8_t>(head.Color);
  out.insert(out.end(), std::begin(ihdr), std::end(ihdr));
  EndChunk(out, chunk);
  if (head.Srgb) {
    chunk = BeginChunk(out, "sRGB");
    out.push_back(0);  // perceptual
    EndChunk(out, chunk);
  }
  if (head.Colors) {
    chunk = BeginChunk(out, "PLTE");
    const size_t plte = out.size();
    out.resize(plte + 3 * head.Colors->size());
    for (size_t i = 0; i < head.Colors->size(); ++i) {
      const Rgb& c = (*head.Colors)[i];
      out[plte + 3 * i] = c.R;
      out[plte + 3 * i + 1] = c.G;
      out[plte + 3 * i + 2] = c.B;
    }
    EndChunk(out, chunk);
    if (head.Transparent >= 0) {
      // The alpha of every entry up to the transparent one.
      chunk = BeginChunk(out, "tRNS");
      out.resize(out.size() + static_cast<size_t>(head.Transparent), 255);
      out.push_back(0);
      EndChunk(out, chunk);
    }
  }
  chunk = BeginChunk(out, "IDAT");
  const size_t data = out.size();
  out.resize(data + bound);
  const size_t compressed =
      libdeflate_zlib_compress(compressor, raw.data(), raw.size(), out.data() + data, bound);
  if (compressed == 0) {
    error = "the picture could not be compressed";
    return false;
  }
  out.resize(data + compressed);
  EndChunk(out, chunk);
  EndChunk(out, BeginChunk(out, "IEND"));
  return true;
}

}  // namespace

bool EncodeFramedPng(const FramedPicture& picture, const Palette& palette, std::vector<uint8_t>& png,
                     bool& rgba, std::string& error) {
  const bool opaque = FullyOpaque(picture);
  const int transparent = opaque ? -1 : TransparentIndex(picture);
  rgba = !opaque && transparent < 0;
  // Rows from the columns: pixel (x, y) of the frame is byte 64 x + y.
  uint8_t pixels[FrameSide * FrameSide * 4];
  if (!rgba) {
    const auto hole = static_cast<uint8_t>(transparent);
    for (int x = 0; x < FrameSide; ++x) {
      for (int y = 0; y < FrameSide; ++y) {
        const size_t at = static_cast<size_t>(x * FrameSide + y);
        pixels[y * FrameSide + x] = picture.Opaque[at] ? picture.Index[at] : hole;
      }
    }
    const PngHead head{FrameSide, FrameSide, PngColor::Palette, &palette, transparent, false};
    return WritePng(head, pixels, FrameSide, png, error);
  }
  for (int x = 0; x < FrameSide; ++x) {
    for (int y = 0; y < FrameSide; ++y) {
      const size_t at = static_cast<size_t>(x * FrameSide + y);
      const bool drawn = picture.Opaque[at] != 0;
      const Rgb c = drawn ? palette[picture.Index[at]] : Rgb{};
      uint8_t* to = pixels + (y * FrameSide + x) * 4;
      to[0] = c.R;
      to[1] = c.G;
      to[2] = c.B;
      to[3] = drawn ? 255 : 0;
    }
  }
  const PngHead head{FrameSide, FrameSide, PngColor::Rgba};
  return WritePng(head, pixels, FrameSide * 4, png, error);
}

bool EncodeSheetPng(std::span<const FramedPicture> cells, const Palette& palette, std::vector<uint8_t>& png,
                    std::string& error) {
  if (cells.empty()) {
    error = "a contact sheet needs at least one picture";
    return false;
  }
  const size_t across = std::min<size_t>(cells.size(), SheetColumns);
  const size_t down = (cells.size() + SheetColumns - 1) / SheetColumns;
  const size_t width = across * FrameSide + (across - 1) * SheetGap;
  const size_t height = down * FrameSide + (down - 1) * SheetGap;
  std::vector<uint8_t> pixels(width * height * 4, 0);
  for (size_t n = 0; n < cells.size(); ++n) {
    const size_t left = n % SheetColumns * (FrameSide + SheetGap);
    const size_t top = n / SheetColumns * (FrameSide + SheetGap);
    for (size_t x = 0; x < FrameSide; ++x) {
      for (size_t y = 0; y < FrameSide; ++y) {
        const size_t at = x * FrameSide + y;
        if (!cells[n].Opaque[at]) continue;
        const Rgb c = palette[cells[n].Index[at]];
        uint8_t* to = pixels.data() + ((top + y) * width + left + x) * 4;
        to[0] = c.R;
        to[1] = c.G;
        to[2] = c.B;
        to[3] = 255;
      }
    }
  }
  const PngHead head{static_cast<uint32_t>(width), static_cast<uint32_t>(height), PngColor::Rgba};
  return WritePng(head, pixels.data(), static_cast<ptrdiff_t>(width * 4), png, error);
}

bool EncodePalettedPng(int32_t width, int32_t height, const uint8_t* top, ptrdiff_t stride,
                       const Palette& palette, std::vector<uint8_t>& png, std::string& error) {
  const PngHead head{
      static_cast<uint32_t>(width), static_cast<uint32_t>(height), PngColor::Palette, &palette, -1, true};
  return WritePng(head, top, stride, png, error);
}
