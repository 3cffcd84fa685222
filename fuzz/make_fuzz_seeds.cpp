// Writes seed corpora for the fuzz targets: page files and chunks made by the
// page-file writer, pictures as export writes them, and the forms an editor
// may save that export never writes, through libspng, libsndfile or by hand.
// Small variations (cut short, a field changed) the fuzzers find themselves.
#include <sndfile.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/palettefile.h"
#include "pagewriter.h"
#include "pngfile.h"

namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(dir);
  WriteBytes((dir / name).string(), bytes);
}

// `bytes` after the first byte, which the target reads as a choice: texture
// (0) or sprite (1) for the chunk targets, exact colours (0) or the nearest
// (1) for the picture readers, and for the PNG reader also every chunk's CRC
// made right first (2).
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

// 64 x 64 PNG files in the forms that editors save and export never
// writes, every sample a ramp, so that colours lie off the palette and
// alphas are 0, partial and 255: 8- and 16-bit RGBA (the 16-bit one with
// gAMA, interlaced), grey and alpha, a 4-bit palette of 16 colours with a
// tRNS, 2-bit grey and 16-bit RGB with their tRNS colours, and one whose
// IDAT's CRC is wrong.
std::vector<std::pair<std::string, std::vector<uint8_t>>> EditorPngs() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  const auto add = [&files](const std::string& name, PngColor color, uint8_t depth,
                            const std::function<void(PngPicture&)>& more) {
    PngPicture png;
    png.Color = color;
    png.Depth = depth;
    png.Rows.resize(png.RowBytes() * 64);
    for (size_t i = 0; i < png.Rows.size(); ++i)
      png.Rows[i] = static_cast<uint8_t>(i % 5 == 3 ? i / 7 * 85 : i / 7);
    more(png);
    files.emplace_back(name, EncodePngFile(png));
  };
  add("rgba8", PngColor::Rgba, 8, [](PngPicture&) {});
  add("rgba16-gama-interlaced", PngColor::Rgba, 16, [](PngPicture& png) {
    png.Gama = 45455;
    png.Interlaced = true;
  });
  add("grey-alpha8", PngColor::GreyAlpha, 8, [](PngPicture&) {});
  add("grey-alpha16", PngColor::GreyAlpha, 16, [](PngPicture&) {});
  add("palette4-trns", PngColor::Indexed, 4, [](PngPicture& png) {
    for (uint8_t i = 0; i < 16; ++i) png.Plte.push_back({uint8_t(i * 16), uint8_t(i * 4), 0});
    png.TrnsAlpha = std::vector<uint8_t>{255, 0, 255, 128};
  });
  add("grey2-trns", PngColor::Grey, 2, [](PngPicture& png) { png.TrnsColor = {{2, 0, 0}}; });
  add("rgb16-trns", PngColor::Rgb, 16, [](PngPicture& png) { png.TrnsColor = {{0x0E0E, 0x0E0E, 0x0E0E}}; });
  std::vector<uint8_t> badCrc = files.front().second;
  if (const std::optional<size_t> idat = FindPngChunk(badCrc, "IDAT")) badCrc[*idat + 8] ^= 1;
  files.emplace_back("idat-crc", badCrc);
  return files;
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
  SoundSeed(root / "gamesound_fuzz", "game.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 7042);
  SoundSeed(root / "gamesound_fuzz", "stereo16-44100.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100);

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
    for (const auto& [name, png] : EditorPngs()) {
      Seed(root / "framedpng_fuzz", name + option, Chosen(nearest, png));
      // The same with every chunk's CRC made right whatever the fuzzer changes.
      Seed(root / "framedpng_fuzz", name + option + "-crcs-made-right",
           Chosen(static_cast<uint8_t>(nearest | 2), png));
    }
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
