// PNG pictures through libspng, which reports damage by return codes. The
// chunks are walked here first: libspng names no chunk whose CRC is wrong,
// checks the last IDAT's CRC only when it reads past it, and drops an
// ancillary chunk that it finds wrong, where a dropped tRNS would make a
// sprite's holes opaque.
#include <libdeflate.h>
#include <spng.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "base/bytes.h"
#include "imaging/picturereader.h"

namespace {

constexpr uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

PictureRead Failure(std::string message) {
  PictureRead failed;
  failed.Errors.push_back(std::move(message));
  return failed;
}

PictureRead Damaged(const std::string& what) { return Failure("the PNG picture is damaged: " + what); }

// A chunk type as its four letters, anything else in them shown as '?'.
std::string TypeName(const uint8_t* type) {
  std::string name(4, '?');
  for (size_t i = 0; i < 4; ++i) {
    const char c = static_cast<char>(type[i]);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) name[i] = c;
  }
  return name;
}

// What the walk over the chunks found.
struct Chunks {
  std::optional<std::string> Error;  // why the file cannot be read whole
  bool Trns = false;
};

// Each chunk must lie whole in the file with its CRC right, from IHDR on to
// IEND, with an IDAT among them. Bytes after IEND are not the picture's.
Chunks WalkChunks(std::span<const uint8_t> bytes) {
  Chunks found;
  size_t at = sizeof PngSignature;
  bool idat = false;
  for (bool first = true;; first = false) {
    if (bytes.size() - at < 8) {
      found.Error = "it ends before its IEND chunk";
      return found;
    }
    const uint32_t length = ReadBe32(bytes.data() + at);
    const uint8_t* type = bytes.data() + at + 4;
    const std::string name = TypeName(type);
    if (bytes.size() - at - 8 < 4 || length > bytes.size() - at - 12) {
      found.Error = "it ends inside its " + name + " chunk";
      return found;
    }
    if (first && name != "IHDR") {
      found.Error = "its first chunk is " + name + ", not IHDR";
      return found;
    }
    if (libdeflate_crc32(0, type, length + size_t{4}) != ReadBe32(type + 4 + length)) {
      found.Error = "the CRC of its " + name + " chunk is wrong";
      return found;
    }
    idat = idat || name == "IDAT";
    found.Trns = found.Trns || name == "tRNS";
    at += length + size_t{12};
    if (name == "IEND") {
      if (!idat) found.Error = "it has no IDAT chunk";
      return found;
    }
  }
}

std::string SpngError(int error) {
  switch (error) {
    case SPNG_EIDAT_TOO_SHORT:
      return "its image data end before its last row";
    case SPNG_EIDAT_STREAM:
    case SPNG_EZLIB:
    case SPNG_EFILTER:
      return "its image data cannot be unpacked (" + std::string(spng_strerror(error)) + ")";
    default:
      return spng_strerror(error);
  }
}

// Sample i of a row, `depth` bits wide, as the file stores it: big-endian,
// and below 8 bits packed from the high bits of each byte on.
uint32_t Sample(const uint8_t* row, size_t i, unsigned depth) {
  if (depth == 16) return uint32_t{row[2 * i]} << 8 | row[2 * i + 1];
  if (depth == 8) return row[i];
  const size_t bit = i * depth;
  return row[bit / 8] >> (8 - depth - bit % 8) & ((1u << depth) - 1);
}

// A sample as an 8-bit value: 16-bit ones are the 8-bit value x 257 as image
// editors store them, so v / 257 rounded; lower depths are spread over
// 0-255 as PNG does.
uint8_t To8Bits(uint32_t sample, unsigned depth) {
  if (depth == 16) return static_cast<uint8_t>((sample + 128) / 257);
  return static_cast<uint8_t>(sample * 255 / ((1u << depth) - 1));
}

struct FreeContext {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

}  // namespace

PictureRead ReadFramedPng(std::span<const uint8_t> bytes, const ReadOptions& options) {
  if (bytes.size() < sizeof PngSignature ||
      !std::equal(std::begin(PngSignature), std::end(PngSignature), bytes.begin()))
    return Failure("not a PNG picture: the file does not start as one");
  const Chunks chunks = WalkChunks(bytes);
  if (chunks.Error) return Damaged(*chunks.Error);

  const std::unique_ptr<spng_ctx, FreeContext> owner(spng_ctx_new(0));
  spng_ctx* ctx = owner.get();
  if (!ctx) return Failure("out of memory for reading the PNG picture");
  // What libspng keeps of the chunks (text, profiles, unpacked too) stays
  // in proportion to the file.
  const size_t limit = std::max<size_t>(bytes.size(), 1 << 16) * 4;
  spng_set_chunk_limits(ctx, limit, limit);
  spng_set_crc_action(ctx, SPNG_CRC_ERROR, SPNG_CRC_ERROR);
  spng_set_png_buffer(ctx, bytes.data(), bytes.size());
  spng_ihdr ihdr{};
  if (const int error = spng_get_ihdr(ctx, &ihdr)) return Damaged(SpngError(error));
  // Checked before anything is allocated for the pixels.
  if (std::string error; !FramedSize(ihdr.width, ihdr.height, error)) return Failure(error);

  // The rows as the file holds them, at most 8 bytes a pixel. Zeroed:
  // libspng ORs the samples of interlaced pictures below 8 bits into place.
  std::array<uint8_t, FrameSide * FrameSide * 8> rows;
  size_t size = 0;
  if (const int error = spng_decoded_image_size(ctx, SPNG_FMT_RAW, &size)) return Damaged(SpngError(error));
  std::memset(rows.data(), 0, size);
  if (const int error = spng_decode_image(ctx, rows.data(), size, SPNG_FMT_RAW, 0))
    return Damaged(SpngError(error));
  if (const int error = spng_decode_chunks(ctx)) return Damaged(SpngError(error));
  spng_trns trns{};
  const bool transparency = spng_get_trns(ctx, &trns) == 0;
  if (chunks.Trns && !transparency) return Damaged("its tRNS chunk does not fit the picture");

  const size_t rowBytes = size / FrameSide;
  const unsigned depth = ihdr.bit_depth;
  if (ihdr.color_type == SPNG_COLOR_TYPE_INDEXED) {
    spng_plte plte{};
    if (const int error = spng_get_plte(ctx, &plte)) return Damaged(SpngError(error));
    std::array<uint32_t, 256> table{};
    for (size_t i = 0; i < plte.n_entries; ++i) {
      const spng_plte_entry& e = plte.entries[i];
      const uint32_t alpha = transparency && i < trns.n_type3_entries ? trns.type3_alpha[i] : 255;
      table[i] = alpha << 24 | uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
    }
    std::array<uint8_t, FrameSide * FrameSide> indices;
    for (size_t y = 0; y < FrameSide; ++y)
      for (size_t x = 0; x < FrameSide; ++x)
        indices[y * FrameSide + x] = static_cast<uint8_t>(Sample(rows.data() + y * rowBytes, x, depth));
    return MapPalettePixels(indices, std::span<const uint32_t>(table.data(), plte.n_entries), options);
  }

  // Grey, grey and alpha, RGB or RGBA samples to 8-bit RGBA. tRNS names the
  // one colour of grey and RGB pictures that is transparent, in samples as
  // stored.
  const bool grey =
      ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE || ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA;
  const bool alpha = ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                     ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  const size_t samples = (grey ? 1 : 3) + (alpha ? 1 : 0);
  std::array<uint8_t, FrameSide * FrameSide * 4> rgba;
  for (size_t y = 0; y < FrameSide; ++y) {
    const uint8_t* row = rows.data() + y * rowBytes;
    for (size_t x = 0; x < FrameSide; ++x) {
      uint32_t s[4] = {};  // set as far as the colour type has samples
      for (size_t k = 0; k < samples; ++k) s[k] = Sample(row, x * samples + k, depth);
      uint8_t* to = rgba.data() + 4 * (y * FrameSide + x);
      if (grey) {
        to[0] = to[1] = to[2] = To8Bits(s[0], depth);
        to[3] = alpha ? To8Bits(s[1], depth) : transparency && s[0] == trns.gray ? 0 : 255;
      } else {
        for (size_t k = 0; k < 3; ++k) to[k] = To8Bits(s[k], depth);
        to[3] = alpha ? To8Bits(s[3], depth)
                : transparency && s[0] == trns.red && s[1] == trns.green && s[2] == trns.blue ? 0
                                                                                              : 255;
      }
    }
  }
  return MapColorPixels(rgba, options);
}
