// Writes seed corpora for the fuzz targets: page files and chunks made by the
// page-file writer, pictures as export writes them, and the forms an editor
// may save that export never writes, through libspng, libsndfile or by hand.
// Small variations (cut short, a field changed) the fuzzers find themselves.
#include <sndfile.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "base/streams.h"
#include "bmpfile.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/palettefile.h"
#include "pagefiles.h"
#include "pagewriter.h"
#include "pngfile.h"

namespace fs = std::filesystem;

namespace {

fs::path root;

// `bytes` as seed `name` of `target`, after the bytes that the target reads
// first as a choice: texture (0) or sprite (1) for the chunk targets, exact
// colours (0) or the nearest (1) for the picture readers, and for the PNG
// reader also every chunk's CRC made right first (2).
void Seed(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes,
          std::vector<uint8_t> choice = {}) {
  fs::create_directories(root / target);
  choice.insert(choice.end(), bytes.begin(), bytes.end());
  WriteBytes((root / target / name).string(), choice);
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
  const std::pair<PngColor, uint8_t> forms[] = {
      {PngColor::Rgba, 8},    {PngColor::Rgba, 16}, {PngColor::GreyAlpha, 8}, {PngColor::GreyAlpha, 16},
      {PngColor::Indexed, 4}, {PngColor::Grey, 2},  {PngColor::Rgb, 16}};
  for (const auto& [color, depth] : forms) {
    PngPicture png;
    png.Color = color;
    png.Depth = depth;
    png.Rows.resize(png.RowBytes() * 64);
    for (size_t i = 0; i < png.Rows.size(); ++i)
      png.Rows[i] = static_cast<uint8_t>(i % 5 == 3 ? i / 7 * 85 : i / 7);
    if (color == PngColor::Rgba && depth == 16) {
      png.Gama = 45455;
      png.Interlaced = true;
    }
    if (color == PngColor::Indexed) {
      for (uint8_t i = 0; i < 16; ++i) png.Plte.push_back({uint8_t(i * 16), uint8_t(i * 4), 0});
      png.TrnsAlpha = std::vector<uint8_t>{255, 0, 255, 128};
    }
    if (color == PngColor::Grey) png.TrnsColor = {{2, 0, 0}};
    if (color == PngColor::Rgb) png.TrnsColor = {{0x0E0E, 0x0E0E, 0x0E0E}};
    files.emplace_back("type" + std::to_string(int(color)) + "-" + std::to_string(depth), EncodePngFile(png));
  }
  std::vector<uint8_t> badCrc = files.front().second;
  if (const std::optional<size_t> idat = FindPngChunk(badCrc, "IDAT")) badCrc[*idat + 8] ^= 1;
  files.emplace_back("idat-crc", badCrc);
  return files;
}

// 600 frames of a ramp, as libsndfile writes them in `format`.
void SoundSeed(const std::string& name, int format, int channels, int rate) {
  fs::create_directories(root / "gamesound_fuzz");
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open((root / "gamesound_fuzz" / name).string().c_str(), SFM_WRITE, &info);
  if (!file) return;
  std::vector<short> samples(600 * static_cast<size_t>(channels));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<short>(i * 331);
  sf_writef_short(file, samples.data(), 600);
  sf_close(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  root = argv[1];
  InitBmpTemplate();

  TexturePicture picture{};
  SpritePicture disc = BlankSprite();
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) {
      picture[x][y] = static_cast<uint8_t>(x * 4 + y);
      if ((x - 32) * (x - 32) + (y - 40) * (y - 40) < 200) disc[x][y] = static_cast<int16_t>((x + y) % 256);
    }
  const std::vector<uint8_t> texture = EncodeTexture(picture);
  const std::vector<uint8_t> sprite = EncodeSprite(disc);
  for (const char* target : {"decoder_fuzz", "framing_fuzz"}) {
    Seed(target, "texture", texture, {0});
    Seed(target, "sprite-disc", sprite, {1});
    Seed(target, "sprite-wide",
         EncodeSpriteRuns(0, 99, std::vector<std::vector<RawRun>>(100, {{8, 0, 0}}),
                          std::vector<uint8_t>(400, 9)),
         {1});
    // Runs past the frame, longer than it, upside down, and an odd length.
    Seed(target, "sprite-runs",
         EncodeSpriteRuns(5, 7, {{{140, 0, 120}, {200, 0, 0}}, {{20, 0, 60}}, {{81, 0, 60}}},
                          std::vector<uint8_t>(150, 3)),
         {1});
  }

  PageFileLayout small;
  small.Chunks = {{texture, {}, {}}, {sprite, {}, {}}, {{1, 2, 3}, {}, {}}};
  Seed("loader_fuzz", "small.wl6", BuildPageFile(small));
  small.Chunks[1].Offset = 0xFFFFFF00u;
  small.Count = 9;
  Seed("loader_fuzz", "beyond.wl6", BuildPageFile(small));

  // Sounds of 1, 4096 and 5000 bytes from chunk 2 on, and their table.
  PageFileLayout sounds;
  sounds.FirstSprite = 1;
  sounds.FirstSound = 2;
  sounds.Chunks = {{{1}, {}, {}}, {{2}, {}, {}}};
  AddSounds(sounds, {1, 4096, 5000});
  Seed("soundtable_fuzz", "sounds.wl6", BuildPageFile(sounds));
  SoundSeed("game.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 7042);
  SoundSeed("stereo16-44100.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100);

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
    Seed("framedbmp_fuzz", "texture" + option, bmp, {nearest});
    Seed("framedbmp_fuzz", "edited" + option, edited, {nearest});
    Seed("framedpng_fuzz", "sprite" + option, FramedPng(sprite, BuiltInPalette()), {nearest});
    Seed("framedpng_fuzz", "grey" + option, FramedPng(sprite, grey), {nearest});
    for (const auto& [name, png] : EditorPngs()) {
      Seed("framedpng_fuzz", name + option, png, {nearest});
      // The same with every chunk's CRC made right whatever the fuzzer changes.
      Seed("framedpng_fuzz", name + option + "-crcs-made-right", png, {static_cast<uint8_t>(nearest | 2)});
    }
  }

  Seed("bitmap_fuzz", "texture", bmp);
  Seed("bitmap_fuzz", "sprite", ExportedBmp(sprite, SectionKind::Sprite));
  Seed("bitmap_fuzz", "4bit-short-table", BmpFile(7, 2, 4, 3, 8));
  Seed("bitmap_fuzz", "1bit-top-down", BmpFile(9, -2, 1, 2, 8));
  Seed("bitmap_fuzz", "24bit", BmpFile(3, 2, 24, 0, 24));

  // Page files laid out as real ones are: the game's own with absent chunks
  // and padding, one with trailing bytes and gaps, one back to back. The
  // first three bytes choose the chunk to change and its new length.
  PageFileLayout shaped = sounds;
  shaped.Align = 512;
  shaped.PadTo = 512;
  shaped.Chunks[2] = {{}, 0, {}};
  Seed("pagelayout_fuzz", "aligned.wl6", BuildPageFile(shaped), {3, 0, 0});
  shaped.Align.reset();
  shaped.PadTo.reset();
  shaped.Trailing = {1, 2, 3};
  shaped.Chunks[4].Gap = 20;
  Seed("pagelayout_fuzz", "gaps.wl6", BuildPageFile(shaped), {4, 0, 10});
  Seed("soundtable_fuzz", "absent.wl6", BuildPageFile(shaped));

  std::vector<uint8_t> vga = PaletteFile(BuiltInPalette(), PaletteFormat::Act);
  for (uint8_t& v : vga) v /= 4;
  Seed("palettefile_fuzz", "vga", vga, {0});
  Seed("palettefile_fuzz", "act", PaletteFile(BuiltInPalette(), PaletteFormat::Act), {1});
  Seed("palettefile_fuzz", "gimp", PaletteFile(BuiltInPalette(), PaletteFormat::Gimp), {0});
  Seed("palettefile_fuzz", "jasc", PaletteFile(BuiltInPalette(), PaletteFormat::Jasc), {0});
  return 0;
}
