// Writes seed corpora for the fuzz targets: page files and chunks made by the
// page-file writer, small BMP images, sounds and pictures.
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pagewriter.h"

namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(dir);
  WriteBytes((dir / name).string(), bytes);
}

SpritePicture Disc() {
  SpritePicture p{};
  for (auto& column : p) column.fill(-1);
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y)
      if ((x - 32) * (x - 32) + (y - 40) * (y - 40) < 200) p[x][y] = static_cast<int16_t>((x + y) % 256);
  return p;
}

// A decoder or framing seed: the first byte chooses texture (0) or sprite (1).
std::vector<uint8_t> Element(uint8_t kind, const std::vector<uint8_t>& chunk) {
  std::vector<uint8_t> out{kind};
  out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

void DecoderSeeds(const fs::path& dir, const TexturePicture& texture) {
  Seed(dir, "texture", Element(0, EncodeTexture(texture)));
  Seed(dir, "texture-short", Element(0, std::vector<uint8_t>(100, 7)));
  Seed(dir, "sprite-disc", Element(1, EncodeSprite(Disc())));
  std::vector<uint8_t> cut = EncodeSprite(Disc());
  cut.resize(cut.size() / 2);
  Seed(dir, "sprite-truncated", Element(1, cut));
  Seed(dir, "sprite-wide",
       Element(1, EncodeSpriteRuns(0, 99, std::vector<std::vector<RawRun>>(100, {{8, 0, 0}}),
                                   std::vector<uint8_t>(400, 9))));
  Seed(dir, "sprite-negative", Element(1, EncodeSpriteRuns(40, 10, {}, {})));
  // Runs past the frame, longer than it, upside down, and an odd length.
  Seed(dir, "sprite-runs",
       Element(1, EncodeSpriteRuns(5, 7, {{{140, 0, 120}, {200, 0, 0}}, {{20, 0, 60}}, {{81, 0, 60}}},
                                   std::vector<uint8_t>(150, 3))));
}

// A page file with sounds of 1, 4096 and 5000 bytes from chunk 2 on, and
// their table.
PageFileLayout Sounds() {
  PageFileLayout layout;
  layout.FirstSound = 2;
  layout.Chunks = {{{1}, {}, {}},
                   {{2}, {}, {}},
                   {{3}, {}, {}},
                   {std::vector<uint8_t>(4096, 4), {}, {}},
                   {std::vector<uint8_t>(4096, 5), {}, {}},
                   {std::vector<uint8_t>(904, 6), {}, {}},
                   {{0, 0, 1, 0, 1, 0, 0, 16, 2, 0, 0x88, 0x13}, {}, {}}};
  return layout;
}

// A RIFF WAVE file of PCM samples as given.
std::vector<uint8_t> Wav(uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  auto put = [&out](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const uint32_t frame = channels * bits / 8u;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  put(static_cast<uint32_t>(36 + data.size()), 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put(16, 4);
  put(1, 2);
  put(channels, 2);
  put(rate, 4);
  put(rate * frame, 4);
  put(frame, 2);
  put(bits, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put(static_cast<uint32_t>(data.size()), 4);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void AudioSeeds(const fs::path& dir) {
  std::vector<uint8_t> ramp(300);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i * 7);
  Seed(dir, "game.wav", Wav(1, 7042, 8, ramp));
  Seed(dir, "stereo16-44100.wav", Wav(2, 44100, 16, ramp));
  std::vector<uint8_t> cut = Wav(2, 22050, 16, ramp);
  cut.resize(60);
  Seed(dir, "truncated.wav", cut);
}

// Picture seeds: the first byte chooses exact colours (0) or the nearest (1).
std::vector<uint8_t> Picture(uint8_t nearest, const std::vector<uint8_t>& file) {
  std::vector<uint8_t> out{nearest};
  out.insert(out.end(), file.begin(), file.end());
  return out;
}

// A 64 x 64 PNG of RGBA pixels or of indices into an RGBA colour map.
std::vector<uint8_t> Png(uint32_t format, const std::vector<uint8_t>& pixels,
                         const std::vector<uint8_t>& colormap) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 64;
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 4);
  png_alloc_size_t size = 0;
  const auto stride = static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
  png_image_write_get_memory_size(image, size, 0, pixels.data(), stride, colormap.data());
  std::vector<uint8_t> png(size);
  png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), stride, colormap.data());
  png.resize(size);
  return png;
}

// A 64 x 64 8-bit BMP with a grey colour table, as `export` lays one out.
std::vector<uint8_t> Bmp() {
  std::vector<uint8_t> bmp(1078 + 4096, 0);
  const auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 1078);
  put32(14, 40);
  put32(18, 64);
  put32(22, 64);
  bmp[26] = 1;
  bmp[28] = 8;
  for (size_t i = 0; i < 256; ++i)
    bmp[54 + 4 * i] = bmp[55 + 4 * i] = bmp[56 + 4 * i] = static_cast<uint8_t>(i);
  for (size_t i = 0; i < 4096; ++i) bmp[1078 + i] = static_cast<uint8_t>(i * 5);
  return bmp;
}

void PictureSeeds(const fs::path& root) {
  std::vector<uint8_t> rgba(64 * 64 * 4);
  for (size_t i = 0; i < rgba.size(); ++i)
    rgba[i] = static_cast<uint8_t>(i % 4 == 3 ? (i / 4 % 3) * 127 : i / 7);
  std::vector<uint8_t> indices(64 * 64);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i);
  std::vector<uint8_t> colormap(256 * 4);
  for (size_t i = 0; i < colormap.size(); ++i)
    colormap[i] = static_cast<uint8_t>(i % 4 == 3 ? (i < 16 ? 0 : 255) : i);
  Seed(root / "framedpng_fuzz", "rgba", Picture(0, Png(PNG_FORMAT_RGBA, rgba, {})));
  Seed(root / "framedpng_fuzz", "rgba-nearest", Picture(1, Png(PNG_FORMAT_RGBA, rgba, {})));
  Seed(root / "framedpng_fuzz", "indexed", Picture(1, Png(PNG_FORMAT_RGBA_COLORMAP, indices, colormap)));
  Seed(root / "framedbmp_fuzz", "bmp", Picture(0, Bmp()));
  Seed(root / "framedbmp_fuzz", "bmp-nearest", Picture(1, Bmp()));
}

void Le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// An uncompressed BMP file image with `entries` colour table entries and
// rows of a repeating pattern.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bitCount, uint32_t entries) {
  const uint32_t stride = (static_cast<uint32_t>(width) * bitCount + 31) / 32 * 4;
  const uint32_t rows = stride * static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t offBits = 54 + 4 * entries;
  std::vector<uint8_t> out{'B', 'M'};
  Le(out, offBits + rows, 4);
  Le(out, 0, 4);
  Le(out, offBits, 4);
  Le(out, 40, 4);
  Le(out, static_cast<uint32_t>(width), 4);
  Le(out, static_cast<uint32_t>(height), 4);
  Le(out, 1, 2);
  Le(out, bitCount, 2);
  for (int field = 0; field < 6; ++field) Le(out, 0, 4);
  for (uint32_t i = 0; i < 4 * entries + rows; ++i) out.push_back(static_cast<uint8_t>(i * 7));
  return out;
}

void BitmapSeeds(const fs::path& dir) {
  Seed(dir, "8bit-full-table", Bmp(5, 3, 8, 256));
  Seed(dir, "8bit-short-table", Bmp(4, 2, 8, 16));
  Seed(dir, "4bit", Bmp(7, 2, 4, 16));
  Seed(dir, "1bit-top-down", Bmp(9, -2, 1, 2));
  Seed(dir, "24bit", Bmp(3, 2, 24, 0));
  std::vector<uint8_t> cut = Bmp(6, 6, 8, 256);
  cut.resize(cut.size() - 5);
  Seed(dir, "8bit-truncated", cut);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const fs::path root = argv[1];

  PageFileLayout small;
  TexturePicture texture{};
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) texture[x][y] = static_cast<uint8_t>(x * 4 + y);
  small.Chunks.push_back({EncodeTexture(texture), {}, {}});
  small.Chunks.push_back({EncodeSprite(Disc()), {}, {}});
  small.Chunks.push_back({{1, 2, 3}, {}, {}});
  Seed(root / "loader_fuzz", "small.wl6", BuildPageFile(small));
  PageFileLayout truncated = small;
  truncated.TruncateAt = 20;
  Seed(root / "loader_fuzz", "truncated.wl6", BuildPageFile(truncated));
  PageFileLayout beyond = small;
  beyond.Chunks[1].Offset = 0xFFFFFF00u;
  beyond.Count = 9;
  Seed(root / "loader_fuzz", "beyond.wl6", BuildPageFile(beyond));

  DecoderSeeds(root / "decoder_fuzz", texture);
  DecoderSeeds(root / "framing_fuzz", texture);
  PictureSeeds(root);

  Seed(root / "soundtable_fuzz", "sounds.wl6", BuildPageFile(Sounds()));
  PageFileLayout pastEnd = Sounds();
  pastEnd.FirstSound = 9;
  Seed(root / "soundtable_fuzz", "start-past-end.wl6", BuildPageFile(pastEnd));
  AudioSeeds(root / "audio_fuzz");
  BitmapSeeds(root / "bitmap_fuzz");

  return 0;
}
