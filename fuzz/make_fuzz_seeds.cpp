// Writes seed corpora for the fuzz targets: page files and chunks made by the
// page-file writer, and small BMP images.
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

// A decoder seed: the first byte chooses texture (0) or sprite (1).
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
  BitmapSeeds(root / "bitmap_fuzz");

  return 0;
}
