// Page files for the command-line tests: write_test_files DIR
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "pagewriter.h"

namespace {

// A file laid out as the game's are, so that pack gives it back byte for
// byte: 106 textures; 435 sprites, the first 21 columns wide in 3 indices,
// the others of awkward shapes; sounds of 1, 4095, 4096, 4097 and 10000
// bytes from chunk 541 on (sample k of sound s is (s * 7 + k) % 256), and a
// sixth entry whose page lies past the sounds; the table is chunk 549.
bool WriteGame(const std::filesystem::path& path) {
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
  SpritePicture first = BlankSprite();
  for (int x = 20; x <= 40; ++x)
    for (int y = 30; y < 46; ++y) first[x][y] = static_cast<int16_t>(1 + x % 3);
  layout.Chunks.push_back({EncodeSprite(first), {}, {}});
  for (int i = 1; i < 435; ++i) {
    SpritePicture sprite = BlankSprite();
    // Edge columns 0 and 63, empty columns inside, runs at rows 0 and 63,
    // full columns, indices 0 and 255, and one blank sprite. Like the game's
    // sprites, none uses every index: a framed export keeps a free one for
    // its holes, so that colours the palette holds twice keep their indices.
    for (int x = i % 64; x <= std::min(63, i % 64 + i % 17); x += 1 + i % 3)
      for (int y = 0; y < 64; ++y)
        if (i % 5 == 0 || (y + x) % 9 < 5) sprite[x][y] = static_cast<int16_t>((x + y * i) % 250);
    if (i == 434) sprite[63][63] = 255;
    if (i == 433) sprite = BlankSprite();
    layout.Chunks.push_back({EncodeSprite(sprite), {}, {}});
  }

  AddSounds(layout, {1, 4095, 4096, 4097, 10000});
  AddSoundEntry(layout.Chunks.back().Bytes, 300, 5);
  return WritePageFile(path.string(), layout);
}

// Shaped like the Spear of Destiny demo: 666 chunks, sprites from 134,
// sounds from 555; every third texture, sprite and sound page absent
// (offset and length 0), so that sounds 2, 5, 8, ... are absent; the
// game's layout, zeros up to a multiple of 512 at the end.
bool WriteDemo(const std::filesystem::path& path) {
  PageFileLayout layout;
  layout.Align = 512;
  layout.PadTo = 512;
  layout.FirstSprite = 134;
  layout.FirstSound = 555;
  std::vector<uint8_t> table;
  for (int i = 0; i < 665; ++i) {
    std::vector<uint8_t> bytes;
    if (i < 134) {
      TexturePicture texture{};
      for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y) texture[x][y] = static_cast<uint8_t>(x + y * 3 + i);
      bytes = EncodeTexture(texture);
    } else if (i < 555) {
      SpritePicture sprite = BlankSprite();
      for (int x = i % 40; x < i % 40 + 20; ++x)
        for (int y = 10; y < 50; ++y) sprite[x][y] = static_cast<int16_t>((x * y + i) % 200);
      bytes = EncodeSprite(sprite);
    } else {
      const auto page = static_cast<uint16_t>(i - 555), length = static_cast<uint16_t>(1000 + page);
      AddSoundEntry(table, page, length);
      bytes.assign(length, static_cast<uint8_t>(page));
    }
    layout.Chunks.push_back({i % 3 == 1 ? std::vector<uint8_t>{} : bytes, {}, {}});
  }
  layout.Chunks.push_back({table, {}, {}});
  return WritePageFile(path.string(), layout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  // 663 chunks; chunk i holds i % 7 + 1 bytes; the header's words are 0.
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

  // 1,000 chunks of 65,535 bytes: a base large enough that packing it takes
  // a while, to be killed on the way.
  PageFileLayout large;
  large.FirstSprite = 106;
  large.FirstSound = 541;
  for (int i = 0; i < 1000; ++i)
    large.Chunks.push_back({std::vector<uint8_t>(65535, static_cast<uint8_t>(i)), {}, {}});
  ok = WritePageFile((dir / "large.wl6").string(), large) && ok;

  ok = WriteGame(dir / "game.wl6") && ok;
  ok = WriteDemo(dir / "demo.wl6") && ok;
  return ok ? 0 : 1;
}
