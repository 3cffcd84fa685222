// Writes the bundled sample page file: make-sample OUT_PATH
//
// 106 wall textures, 435 sprites and four sound chunks, all drawn or
// synthesised here, laid out as the game's own page file is.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pagewriter.h"
#include "paint.h"
#include "sprites.h"
#include "walls.h"

namespace {

constexpr size_t TextureCount = 106;
constexpr size_t SpriteCount = 435;
constexpr double SampleRate = 7000;
constexpr double Pi = 3.14159265358979323846;

uint8_t Sample(double v) { return static_cast<uint8_t>(std::lround(128 + 127 * std::clamp(v, -1.0, 1.0))); }

// Unsigned 8-bit mono sounds, the way the game keeps its digitised effects.
std::vector<uint8_t> Shot() {
  Random random(1);
  std::vector<uint8_t> out;
  for (int i = 0; i < 2100; ++i) {
    const double t = i / SampleRate;
    out.push_back(Sample(random.Range(-1, 1) * std::exp(-t * 18)));
  }
  return out;
}

std::vector<uint8_t> Bark() {
  std::vector<uint8_t> out;
  for (int i = 0; i < 1800; ++i) {
    const double t = i / SampleRate;
    const double pitch = 420 - 160 * t / 0.26;
    const double envelope = std::sin(Pi * std::min(1.0, t / 0.26));
    out.push_back(Sample(envelope * std::tanh(3 * std::sin(2 * Pi * pitch * t))));
  }
  return out;
}

std::vector<uint8_t> DoorSlide() {
  Random random(2);
  std::vector<uint8_t> out;
  double low = 0;
  for (int i = 0; i < 3400; ++i) {
    const double t = i / SampleRate;
    low += (random.Range(-1, 1) - low) * 0.08;  // rumble: low-passed noise
    const double hum = 0.3 * std::sin(2 * Pi * 90 * t);
    out.push_back(Sample((3 * low + hum) * std::min(1.0, (3400 - i) / 600.0)));
  }
  return out;
}

// The last chunk maps sounds to their first page, counted from the header's
// sound start, and their byte length; each sound here fills one page.
std::vector<uint8_t> SoundTable(const std::vector<std::vector<uint8_t>>& sounds) {
  std::vector<uint8_t> out;
  for (size_t page = 0; page < sounds.size(); ++page) {
    const size_t length = sounds[page].size();
    out.insert(out.end(), {static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8),
                           static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)});
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sample OUT_PATH\n");
    return 2;
  }
  Quantiser quantiser;
  PageFileLayout layout;
  layout.FirstSprite = TextureCount;
  layout.FirstSound = TextureCount + SpriteCount;
  for (const TexturePicture& wall : MakeWalls(quantiser))
    layout.Chunks.push_back({EncodeTexture(wall), {}, {}});
  for (const SpritePicture& sprite : MakeSprites(quantiser, SpriteCount))
    layout.Chunks.push_back({EncodeSprite(sprite), {}, {}});
  const std::vector<std::vector<uint8_t>> sounds = {Shot(), Bark(), DoorSlide()};
  for (const auto& sound : sounds) layout.Chunks.push_back({sound, {}, {}});
  layout.Chunks.push_back({SoundTable(sounds), {}, {}});

  if (layout.Chunks.size() != TextureCount + SpriteCount + 4) {
    std::fprintf(stderr, "make-sample: drew %zu chunks\n", layout.Chunks.size());
    return 1;
  }
  if (!WritePageFile(argv[1], layout)) {
    std::fprintf(stderr, "make-sample: cannot write '%s'\n", argv[1]);
    return 1;
  }
  return 0;
}
