// Page files for the command-line tests: write_test_files DIR
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "pagewriter.h"

namespace {

// The pixel rows a BMP image of `picture` holds: bottom row first, each
// padded to a multiple of 4 bytes; transparent pixels are index 0.
template <typename Picture>
std::vector<uint8_t> BmpRows(const Picture& picture, int first, int width) {
  const int rowBytes = (width + 3) / 4 * 4;
  std::vector<uint8_t> rows;
  for (int y = 63; y >= 0; --y) {
    for (int x = 0; x < rowBytes; ++x)
      rows.push_back(x < width && picture[first + x][y] > 0 ? static_cast<uint8_t>(picture[first + x][y])
                                                            : 0);
  }
  return rows;
}

// 106 textures, 435 sprites and one unknown chunk, all well formed, with the
// expected pixel rows of the first texture and the first sprite.
bool WritePictures(const std::filesystem::path& dir) {
  PageFileLayout layout;
  TexturePicture texture{};
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) texture[x][y] = static_cast<uint8_t>(x + 2 * y);  // 190 indices
  layout.Chunks.push_back({EncodeTexture(texture), {}, {}});
  for (int i = 1; i < 106; ++i)
    layout.Chunks.push_back({std::vector<uint8_t>(4096, static_cast<uint8_t>(i)), {}, {}});

  SpritePicture sprite;
  for (auto& column : sprite) column.fill(-1);
  for (int x = 20; x <= 40; ++x)
    for (int y = 30; y < 46; ++y) sprite[x][y] = static_cast<int16_t>(1 + x % 3);  // 21 wide, 3 indices
  layout.Chunks.push_back({EncodeSprite(sprite), {}, {}});
  for (int i = 1; i < 435; ++i) {
    SpritePicture dot;
    for (auto& column : dot) column.fill(-1);
    dot[i % 64][5] = 100;
    layout.Chunks.push_back({EncodeSprite(dot), {}, {}});
  }
  layout.Chunks.push_back({{1, 2, 3}, {}, {}});

  return WritePageFile((dir / "pictures.wl6").string(), layout) &&
         WriteBytes((dir / "texture-001.rows").string(), BmpRows(texture, 0, 64)) &&
         WriteBytes((dir / "sprite-001.rows").string(), BmpRows(sprite, 20, 21));
}

// Sounds of 1, 4095, 4096, 4097 and 10000 bytes from chunk 541 on (sample k
// of sound s is (s * 7 + k) % 256), and a sixth entry whose page lies past
// the sounds; the table is chunk 549. Laid out as the game's files are, so
// that pack gives it back byte for byte.
bool WriteSounds(const std::filesystem::path& dir) {
  PageFileLayout layout;
  layout.Align = 512;
  layout.FirstSprite = 106;
  layout.FirstSound = 541;
  for (int i = 0; i < 541; ++i) layout.Chunks.push_back({{static_cast<uint8_t>(i)}, {}, {}});
  std::vector<uint8_t> table;
  auto entry = [&table](unsigned page, unsigned bytes) {
    table.insert(table.end(), {static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8),
                               static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8)});
  };
  const unsigned lengths[] = {1, 4095, 4096, 4097, 10000};
  std::vector<uint8_t> all;
  for (unsigned s = 0; s < 5; ++s) {
    entry(static_cast<unsigned>(layout.Chunks.size()) - 541, lengths[s]);
    std::vector<uint8_t> samples(lengths[s]);
    for (size_t k = 0; k < samples.size(); ++k) samples[k] = static_cast<uint8_t>(s * 7 + k);
    for (size_t at = 0; at < samples.size(); at += 4096)
      layout.Chunks.push_back(
          {{samples.begin() + static_cast<ptrdiff_t>(at),
            samples.begin() + static_cast<ptrdiff_t>(std::min(at + 4096, samples.size()))},
           {},
           {}});
    if (!WriteBytes((dir / ("sound-" + std::to_string(s + 1) + ".samples")).string(), samples)) return false;
  }
  entry(300, 5);
  layout.Chunks.push_back({table, {}, {}});
  return WritePageFile((dir / "sounds.wl6").string(), layout);
}

// The same elements laid out as the game's files are, with sprites of
// awkward shapes and an empty sound: pack reproduces it byte for byte.
bool WriteGameLayout(const std::filesystem::path& dir) {
  PageFileLayout layout;
  layout.Align = 512;
  layout.FirstSprite = 106;
  layout.FirstSound = 541;
  for (int i = 0; i < 106; ++i) {
    TexturePicture texture{};
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 64; ++y) texture[x][y] = static_cast<uint8_t>(x * 64 + y + i);
    layout.Chunks.push_back({EncodeTexture(texture), {}, {}});
  }
  for (int i = 0; i < 435; ++i) {
    SpritePicture sprite;
    for (auto& column : sprite) column.fill(-1);
    // Edge columns 0 and 63, empty columns inside, runs at rows 0 and 63,
    // full columns, indices 0 and 255, and one blank sprite. Like the game's
    // sprites, none uses every index: a framed export keeps a free one for
    // its holes, so that colours the palette holds twice keep their indices.
    for (int x = i % 64; x <= std::min(63, i % 64 + i % 17); x += 1 + i % 3)
      for (int y = 0; y < 64; ++y)
        if (i % 5 == 0 || (y + x) % 9 < 5) sprite[x][y] = static_cast<int16_t>((x + y * i) % 250);
    if (i == 434) sprite[63][63] = 255;
    if (i == 433)
      for (auto& column : sprite) column.fill(-1);
    layout.Chunks.push_back({EncodeSprite(sprite), {}, {}});
  }
  for (size_t size : {700u, 0u, 1u, 512u, 4096u})
    layout.Chunks.push_back({std::vector<uint8_t>(size, static_cast<uint8_t>(size)), {}, {}});
  return WritePageFile((dir / "aligned.wl6").string(), layout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  // 663 chunks; chunk i holds i % 7 + 1 bytes.
  PageFileLayout full;
  for (int i = 0; i < 663; ++i)
    full.Chunks.push_back({std::vector<uint8_t>(static_cast<size_t>(i % 7 + 1), 1), {}, {}});
  bool ok = WritePageFile((dir / "full.wl6").string(), full);

  // 65,535 chunks of 65,535 bytes, every one beyond the end of a 393,222-byte file.
  PageFileLayout hostile;
  for (int i = 0; i < 65535; ++i)
    hostile.Chunks.push_back({{}, 0x80000000u + static_cast<uint32_t>(i), 65535});
  std::vector<uint8_t> bytes = BuildPageFile(hostile);
  bytes.resize(393222, 0xAB);
  ok = WriteBytes((dir / "hostile.wl6").string(), bytes) && ok;

  ok = WriteBytes((dir / "short.wl6").string(), {1}) && ok;
  ok = WritePictures(dir) && ok;
  ok = WriteSounds(dir) && ok;
  ok = WriteGameLayout(dir) && ok;
  return ok ? 0 : 1;
}
