#include "imaging/framedpng.h"

#include <libdeflate.h>
#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>
#include <memory>

#include "imaging/framing.h"

namespace {

// What one PNG holds besides its rows.
struct PngHead {
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
  int ColorType = PNG_COLOR_TYPE_PALETTE;
  const Palette* Colours = nullptr;  // for PNG_COLOR_TYPE_PALETTE
  int Transparent = -1;              // the index that tRNS makes transparent, if any
  bool Srgb = false;                 // an sRGB chunk, as libpng's simplified writer adds
};

void AppendToVector(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

void KeepMessage(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libdeflate compresses a whole picture at once, with none of the
// per-stream set-up that zlib spends more time on than on a 4 KB picture;
// libpng writes the chunks around it. Its fastest level: the export of a
// whole file is measured against writing BMP files, and higher levels save
// little on pictures this small. One compressor per thread serves every
// picture.
libdeflate_compressor* Compressor() {
  constexpr int level = 1;
  struct Free {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
  };
  thread_local std::unique_ptr<libdeflate_compressor, Free> compressor(libdeflate_alloc_compressor(level));
  return compressor.get();
}

// Writes the rows (each Width pixels of the colour type's size, `stride`
// bytes apart from the top row on) as a whole
// PNG file into `out`. Everything that libpng's error jump could skip is
// made before it is armed.
bool WritePng(const PngHead& head, const uint8_t* top, ptrdiff_t stride, std::vector<uint8_t>& out,
              std::string& error) {
  libdeflate_compressor* compressor = Compressor();
  if (!compressor) {
    error = "out of memory for the compressor";
    return false;
  }
  // Each row of the image data starts with its filter type, 0 for none:
  // pictures of palette indices gain nothing from filtering.
  const size_t channels = head.ColorType == PNG_COLOR_TYPE_RGBA ? 4 : 1;
  const size_t rowBytes = head.Width * channels;
  std::vector<uint8_t> raw((rowBytes + 1) * head.Height);
  for (size_t y = 0; y < head.Height; ++y) {
    raw[y * (rowBytes + 1)] = 0;
    std::memcpy(&raw[y * (rowBytes + 1) + 1], top + static_cast<ptrdiff_t>(y) * stride, rowBytes);
  }
  std::vector<uint8_t> idat(libdeflate_zlib_compress_bound(compressor, raw.size()));
  idat.resize(libdeflate_zlib_compress(compressor, raw.data(), raw.size(), idat.data(), idat.size()));
  if (idat.empty()) {
    error = "the picture could not be compressed";
    return false;
  }

  png_color plte[256];
  png_byte alpha[256];
  if (head.Colours) {
    for (size_t i = 0; i < 256; ++i)
      plte[i] = {(*head.Colours)[i].R, (*head.Colours)[i].G, (*head.Colours)[i].B};
    std::memset(alpha, 255, sizeof alpha);
    if (head.Transparent >= 0) alpha[head.Transparent] = 0;
  }
  out.clear();
  // Room for the signature and every chunk, so that libpng's pieces are
  // only copied once.
  out.reserve(idat.size() + 2048);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, KeepMessage, IgnoreWarning);
  if (!png) {
    error = "libpng could not start";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    if (error.empty()) error = "libpng could not start";
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendToVector, NoFlush);
  png_set_IHDR(png, info, head.Width, head.Height, 8, head.ColorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  if (head.Srgb) png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
  if (head.Colours) {
    png_set_PLTE(png, info, plte, 256);
    if (head.Transparent >= 0) png_set_tRNS(png, info, alpha, head.Transparent + 1, nullptr);
  }
  png_write_info(png, info);
  png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), idat.data(), idat.size());
  png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
  png_destroy_write_struct(&png, &info);
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
    const PngHead head{FrameSide, FrameSide, PNG_COLOR_TYPE_PALETTE, &palette, transparent, false};
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
  const PngHead head{FrameSide, FrameSide, PNG_COLOR_TYPE_RGBA};
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
  const PngHead head{static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), PNG_COLOR_TYPE_RGBA};
  return WritePng(head, pixels.data(), static_cast<ptrdiff_t>(width * 4), png, error);
}

bool EncodePalettedPng(int32_t width, int32_t height, const uint8_t* top, ptrdiff_t stride,
                       const Palette& palette, std::vector<uint8_t>& png, std::string& error) {
  const PngHead head{static_cast<png_uint_32>(width),
                     static_cast<png_uint_32>(height),
                     PNG_COLOR_TYPE_PALETTE,
                     &palette,
                     -1,
                     true};
  return WritePng(head, top, stride, png, error);
}
