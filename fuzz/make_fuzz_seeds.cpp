// Writes seed corpora for the fuzz targets: page files and chunks made by the
// page-file writer, pictures as export writes them, and the forms an editor
// may save that export never writes, through libpng, libsndfile or by hand.
// Small variations (cut short, a field changed) the fuzzers find themselves.
#include <png.h>
#include <sndfile.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/palettefile.h"
#include "pagewriter.h"

namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(dir);
  WriteBytes((dir / name).string(), bytes);
}

// `bytes` after the first byte, which the target reads as a choice: texture
// (0) or sprite (1) for the chunk targets, exact colours (0) or the nearest
// (1) for the picture readers.
std::vector<uint8_t> Chosen(uint8_t choice, const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> out{choice};
  out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}

SpritePicture Disc() {
  SpritePicture p{};
  for (auto& column : p) column.fill(-1);
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y)
      if ((x - 32) * (x - 32) + (y - 40) * (y - 40) < 200) p[x][y] = static_cast<int16_t>((x + y) % 256);
  return p;
}

void ChunkSeeds(const fs::path& dir, const std::vector<uint8_t>& texture, const std::vector<uint8_t>& disc) {
  Seed(dir, "texture", Chosen(0, texture));
  Seed(dir, "sprite-disc", Chosen(1, disc));
  Seed(dir, "sprite-wide",
       Chosen(1, EncodeSpriteRuns(0, 99, std::vector<std::vector<RawRun>>(100, {{8, 0, 0}}),
                                  std::vector<uint8_t>(400, 9))));
  // Runs past the frame, longer than it, upside down, and an odd length.
  Seed(dir, "sprite-runs",
       Chosen(1, EncodeSpriteRuns(5, 7, {{{140, 0, 120}, {200, 0, 0}}, {{20, 0, 60}}, {{81, 0, 60}}},
                                  std::vector<uint8_t>(150, 3))));
}

// The BMP image that export writes for a chunk.
std::vector<uint8_t> ExportedBmp(const std::vector<uint8_t>& chunk, SectionKind section) {
  MemoryStream image;
  const auto size = static_cast<uint32_t>(chunk.size());
  WriteElementImage({chunk.data(), size, size}, section, image);
  return {image.Bytes().begin(), image.Bytes().end()};
}

// The PNG file that export --framed writes for a sprite, in `palette`.
std::vector<uint8_t> FramedPng(const std::vector<uint8_t>& sprite, const Palette& palette) {
  std::vector<uint8_t> png;
  std::string error;
  bool rgba = false;
  EncodeFramedPng(FrameElement(sprite, SectionKind::Sprite), palette, png, rgba, error);
  return png;
}

// A 64 x 64 PNG of RGBA pixels, which export never writes: colours not in
// the palette, and alphas of 0, 127 and 254.
std::vector<uint8_t> RgbaPng() {
  std::vector<uint8_t> rgba(64 * 64 * 4);
  for (size_t i = 0; i < rgba.size(); ++i)
    rgba[i] = static_cast<uint8_t>(i % 4 == 3 ? (i / 4 % 3) * 127 : i / 7);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 64;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_get_memory_size(image, size, 0, rgba.data(), 0, nullptr);
  std::vector<uint8_t> png(size);
  png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr);
  png.resize(size);
  return png;
}

// An uncompressed BMP file image with `entries` colour table entries and
// rows of a repeating pattern.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bitCount, uint32_t entries) {
  std::vector<uint8_t> out{'B', 'M'};
  const auto le = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  const uint32_t stride = (static_cast<uint32_t>(width) * bitCount + 31) / 32 * 4;
  const uint32_t rows = stride * static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t offBits = 54 + 4 * entries;
  for (uint32_t field :
       {offBits + rows, 0u, offBits, 40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
    le(field, 4);
  le(1, 2);
  le(bitCount, 2);
  for (int field = 0; field < 6; ++field) le(0, 4);
  for (uint32_t i = 0; i < 4 * entries + rows; ++i) out.push_back(static_cast<uint8_t>(i * 7));
  return out;
}

// 600 frames of a ramp, as libsndfile writes them in `format`.
void SoundSeed(const fs::path& dir, const std::string& name, int format, int channels, int rate) {
  fs::create_directories(dir);
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open((dir / name).string().c_str(), SFM_WRITE, &info);
  if (!file) return;
  std::vector<short> samples(600 * static_cast<size_t>(channels));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<short>(i * 331);
  sf_writef_short(file, samples.data(), 600);
  sf_close(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const fs::path root = argv[1];
  InitBmpTemplate();

  TexturePicture picture{};
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) picture[x][y] = static_cast<uint8_t>(x * 4 + y);
  const std::vector<uint8_t> texture = EncodeTexture(picture);
  const std::vector<uint8_t> disc = EncodeSprite(Disc());
  ChunkSeeds(root / "decoder_fuzz", texture, disc);
  ChunkSeeds(root / "framing_fuzz", texture, disc);

  PageFileLayout small;
  small.Chunks = {{texture, {}, {}}, {disc, {}, {}}, {{1, 2, 3}, {}, {}}};
  Seed(root / "loader_fuzz", "small.wl6", BuildPageFile(small));
  small.Chunks[1].Offset = 0xFFFFFF00u;
  small.Count = 9;
  Seed(root / "loader_fuzz", "beyond.wl6", BuildPageFile(small));

  // Sounds of 1, 4096 and 5000 bytes from chunk 2 on, and their table.
  PageFileLayout sounds;
  sounds.FirstSprite = 1;
  sounds.FirstSound = 2;
  sounds.Chunks = {{{1}, {}, {}},
                   {{2}, {}, {}},
                   {{3}, {}, {}},
                   {std::vector<uint8_t>(4096, 4), {}, {}},
                   {std::vector<uint8_t>(4096, 5), {}, {}},
                   {std::vector<uint8_t>(904, 6), {}, {}},
                   {{0, 0, 1, 0, 1, 0, 0, 16, 2, 0, 0x88, 0x13}, {}, {}}};
  Seed(root / "soundtable_fuzz", "sounds.wl6", BuildPageFile(sounds));
  SoundSeed(root / "audio_fuzz", "game.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 7042);
  SoundSeed(root / "audio_fuzz", "stereo16-44100.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100);

  // Pictures as export writes them, and as an editor may leave them: in
  // colours off the palette (the BMP's colour table moved, the PNG's palette
  // grey), or in RGBA.
  const std::vector<uint8_t> bmp = ExportedBmp(texture, SectionKind::Texture);
  std::vector<uint8_t> edited = bmp;
  for (size_t i = PaletteOffset; i < PaletteOffset + PaletteSize; ++i) edited[i] ^= 1;
  Palette grey;
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  for (uint8_t nearest : {0, 1}) {
    const std::string option = nearest ? "-nearest" : "";
    Seed(root / "framedbmp_fuzz", "texture" + option, Chosen(nearest, bmp));
    Seed(root / "framedbmp_fuzz", "edited" + option, Chosen(nearest, edited));
    Seed(root / "framedpng_fuzz", "sprite" + option, Chosen(nearest, FramedPng(disc, BuiltInPalette())));
    Seed(root / "framedpng_fuzz", "grey" + option, Chosen(nearest, FramedPng(disc, grey)));
    Seed(root / "framedpng_fuzz", "rgba" + option, Chosen(nearest, RgbaPng()));
  }

  Seed(root / "bitmap_fuzz", "texture", bmp);
  Seed(root / "bitmap_fuzz", "sprite", ExportedBmp(disc, SectionKind::Sprite));
  Seed(root / "bitmap_fuzz", "4bit-short-table", Bmp(7, 2, 4, 3));
  Seed(root / "bitmap_fuzz", "1bit-top-down", Bmp(9, -2, 1, 2));
  Seed(root / "bitmap_fuzz", "24bit", Bmp(3, 2, 24, 0));

  // Page files laid out as real ones are: the game's own with absent chunks
  // and padding, one with trailing bytes and gaps, one back to back. The
  // first three bytes choose the chunk to change and its new length.
  PageFileLayout shaped = sounds;
  shaped.FirstSprite = 1;
  shaped.Align = 512;
  shaped.PadTo = 512;
  shaped.Chunks[2] = {{}, 0, {}};
  Seed(root / "pagelayout_fuzz", "aligned.wl6", Chosen(3, Chosen(0, Chosen(0, BuildPageFile(shaped)))));
  shaped.Align.reset();
  shaped.PadTo.reset();
  shaped.Trailing = {1, 2, 3};
  shaped.Chunks[4].Gap = 20;
  Seed(root / "pagelayout_fuzz", "gaps.wl6", Chosen(4, Chosen(0, Chosen(10, BuildPageFile(shaped)))));
  Seed(root / "soundtable_fuzz", "absent.wl6", BuildPageFile(shaped));

  const Palette builtIn = BuiltInPalette();
  Seed(root / "palettefile_fuzz", "gimp", Chosen(0, PaletteFile(builtIn, PaletteFormat::Gimp)));
  Seed(root / "palettefile_fuzz", "jasc", Chosen(0, PaletteFile(builtIn, PaletteFormat::Jasc)));
  Seed(root / "palettefile_fuzz", "act", Chosen(1, PaletteFile(builtIn, PaletteFormat::Act)));
  std::vector<uint8_t> vga = PaletteFile(builtIn, PaletteFormat::Act);
  for (uint8_t& v : vga) v /= 4;
  Seed(root / "palettefile_fuzz", "vga", Chosen(0, vga));
  return 0;
}
