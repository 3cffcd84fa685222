#include "pngfile.h"

#include <spng.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeContext {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, FreeContext>;

size_t SamplesPerPixel(PngColor color) {
  switch (color) {
    case PngColor::Grey:
    case PngColor::Indexed:
      return 1;
    case PngColor::GreyAlpha:
      return 2;
    case PngColor::Rgb:
      return 3;
    case PngColor::Rgba:
      return 4;
  }
  return 4;
}

uint32_t ReadBe32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

size_t PngPicture::RowBytes() const { return (Width * SamplesPerPixel(Color) * Depth + 7) / 8; }

uint32_t PngPicture::Sample(uint32_t y, size_t i) const {
  const uint8_t* row = Rows.data() + y * RowBytes();
  if (Depth == 16) return uint32_t{row[2 * i]} << 8 | row[2 * i + 1];
  const size_t bit = i * Depth;
  return row[bit / 8] >> (8 - Depth - bit % 8) & ((1u << Depth) - 1);
}

void PngPicture::SetSample(uint32_t y, size_t i, uint32_t value) {
  uint8_t* row = Rows.data() + y * RowBytes();
  if (Depth == 16) {
    row[2 * i] = static_cast<uint8_t>(value >> 8);
    row[2 * i + 1] = static_cast<uint8_t>(value);
    return;
  }
  const size_t bit = i * Depth;
  const unsigned shift = 8 - Depth - bit % 8;
  const unsigned mask = ((1u << Depth) - 1) << shift;
  row[bit / 8] = static_cast<uint8_t>((row[bit / 8] & ~mask) | ((value << shift) & mask));
}

std::vector<uint8_t> EncodePngFile(const PngPicture& picture, std::string* error) {
  const Context owner(spng_ctx_new(SPNG_CTX_ENCODER));
  spng_ctx* ctx = owner.get();
  int result = ctx ? 0 : SPNG_EMEM;
  const auto step = [&result](int r) {
    if (result == 0) result = r;
  };
  if (ctx) {
    step(spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1));
    spng_ihdr ihdr{picture.Width,
                   picture.Height,
                   picture.Depth,
                   static_cast<uint8_t>(picture.Color),
                   0,
                   0,
                   static_cast<uint8_t>(picture.Interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE)};
    step(spng_set_ihdr(ctx, &ihdr));
    if (!picture.Plte.empty()) {
      spng_plte plte{};
      plte.n_entries = static_cast<uint32_t>(picture.Plte.size());
      for (size_t i = 0; i < picture.Plte.size(); ++i)
        plte.entries[i] = {picture.Plte[i][0], picture.Plte[i][1], picture.Plte[i][2], 255};
      step(spng_set_plte(ctx, &plte));
    }
    if (picture.TrnsAlpha || picture.TrnsColor) {
      spng_trns trns{};
      if (picture.TrnsAlpha) {
        trns.n_type3_entries = static_cast<uint32_t>(picture.TrnsAlpha->size());
        std::memcpy(trns.type3_alpha, picture.TrnsAlpha->data(), picture.TrnsAlpha->size());
      } else {
        trns.gray = trns.red = (*picture.TrnsColor)[0];
        trns.green = (*picture.TrnsColor)[1];
        trns.blue = (*picture.TrnsColor)[2];
      }
      step(spng_set_trns(ctx, &trns));
    }
    if (picture.Gama) step(spng_set_gama_int(ctx, *picture.Gama));
    if (picture.Chrm) {
      spng_chrm_int chrm{31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
      step(spng_set_chrm_int(ctx, &chrm));
    }
    if (picture.Srgb) step(spng_set_srgb(ctx, 0));
    char profile[] = "a made-up profile, which no reader of palette colours looks at";
    spng_iccp iccp{"Made up", sizeof profile, profile};
    if (picture.Iccp) step(spng_set_iccp(ctx, &iccp));
    step(
        spng_encode_image(ctx, picture.Rows.data(), picture.Rows.size(), SPNG_FMT_RAW, SPNG_ENCODE_FINALIZE));
  }
  std::vector<uint8_t> file;
  if (result == 0) {
    size_t size = 0;
    void* bytes = spng_get_png_buffer(ctx, &size, &result);
    if (bytes) file.assign(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
    std::free(bytes);
  }
  if (result != 0 && error) *error = spng_strerror(result);
  return file;
}

std::optional<PngPicture> DecodePngFile(const std::vector<uint8_t>& file) {
  const Context owner(spng_ctx_new(0));
  spng_ctx* ctx = owner.get();
  if (!ctx) return std::nullopt;
  spng_set_crc_action(ctx, SPNG_CRC_ERROR, SPNG_CRC_ERROR);
  spng_set_png_buffer(ctx, file.data(), file.size());
  spng_ihdr ihdr{};
  size_t size = 0;
  if (spng_get_ihdr(ctx, &ihdr) || spng_decoded_image_size(ctx, SPNG_FMT_RAW, &size)) return std::nullopt;
  PngPicture picture;
  picture.Width = ihdr.width;
  picture.Height = ihdr.height;
  picture.Color = static_cast<PngColor>(ihdr.color_type);
  picture.Depth = ihdr.bit_depth;
  picture.Interlaced = ihdr.interlace_method != 0;
  picture.Rows.resize(size);
  if (spng_decode_image(ctx, picture.Rows.data(), size, SPNG_FMT_RAW, 0) || spng_decode_chunks(ctx))
    return std::nullopt;
  spng_plte plte{};
  if (spng_get_plte(ctx, &plte) == 0)
    for (uint32_t i = 0; i < plte.n_entries; ++i)
      picture.Plte.push_back({plte.entries[i].red, plte.entries[i].green, plte.entries[i].blue});
  spng_trns trns{};
  if (spng_get_trns(ctx, &trns) == 0) {
    if (picture.Color == PngColor::Indexed)
      picture.TrnsAlpha.emplace(trns.type3_alpha, trns.type3_alpha + trns.n_type3_entries);
    else if (picture.Color == PngColor::Grey)
      picture.TrnsColor = {trns.gray, 0, 0};
    else
      picture.TrnsColor = {trns.red, trns.green, trns.blue};
  }
  uint32_t gama = 0;
  if (spng_get_gama_int(ctx, &gama) == 0) picture.Gama = gama;
  spng_chrm_int chrm{};
  picture.Chrm = spng_get_chrm_int(ctx, &chrm) == 0;
  uint8_t intent = 0;
  picture.Srgb = spng_get_srgb(ctx, &intent) == 0;
  spng_iccp iccp{};
  picture.Iccp = spng_get_iccp(ctx, &iccp) == 0;
  return picture;
}

std::optional<size_t> FindPngChunk(const std::vector<uint8_t>& file, const char* type) {
  for (size_t at = 8; at + 12 <= file.size();) {
    if (std::memcmp(file.data() + at + 4, type, 4) == 0) return at;
    at += size_t{12} + ReadBe32(file.data() + at);
  }
  return std::nullopt;
}
