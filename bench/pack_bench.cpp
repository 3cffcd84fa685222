// Packing a full-size file from a complete export in the frame (541
// pictures), beside exporting the same file: both run the command-line
// tool's own commands, files and all.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "imaging/bmptemplate.h"
#include "imaging/spriteencoder.h"
#include "pagewriter.h"

namespace fs = std::filesystem;

namespace {

// The commands print a line per picture: the benchmark's own report keeps
// standard output to itself.
class QuietStdout {
 public:
  QuietStdout() : saved_(dup(1)) {
    std::fflush(stdout);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~QuietStdout() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;

 private:
  int saved_;
};

const fs::path& Folder() {
  static const fs::path folder = fs::temp_directory_path() / "tessarine-bench-pack";
  return folder;
}

// A picture as an indexed PNG in the game's palette, holes in an index that
// no drawn pixel uses, as an export in the frame writes it.
std::vector<uint8_t> FramedPng(const FramedPicture& picture) {
  std::array<bool, 256> used{};
  for (size_t i = 0; i < picture.Index.size(); ++i)
    if (picture.Opaque[i]) used[picture.Index[i]] = true;
  const auto hole = static_cast<size_t>(std::find(used.begin(), used.end(), false) - used.begin());
  std::vector<uint8_t> colormap;
  for (size_t i = 0; i < 256; ++i) {
    const uint8_t* bgr = BmpTemplate.data() + PaletteOffset + 4 * i;
    colormap.insert(colormap.end(), {bgr[2], bgr[1], bgr[0], uint8_t(i == hole ? 0 : 255)});
  }
  std::vector<uint8_t> rows(64 * 64);
  for (size_t x = 0; x < 64; ++x)
    for (size_t y = 0; y < 64; ++y)
      rows[64 * y + x] = picture.Opaque[64 * x + y] ? picture.Index[64 * x + y] : static_cast<uint8_t>(hole);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 64;
  image.format = PNG_FORMAT_RGBA_COLORMAP;
  image.colormap_entries = 256;
  png_alloc_size_t size = 0;
  png_image_write_get_memory_size(image, size, 0, rows.data(), 64, colormap.data());
  std::vector<uint8_t> png(size);
  png_image_write_to_memory(&image, png.data(), &size, 0, rows.data(), 64, colormap.data());
  png.resize(size);
  return png;
}

// A file shaped like the game's, in its layout: 106 textures, 435 sprites
// of 16 to 64 columns of 20 to 60 rows, a few runs each, 122 sounds; and its pictures.
std::string FullSizeFileAndPictures() {
  static const std::string base = [] {
    InitBmpTemplate();
    fs::create_directories(Folder() / "pictures");
    PageFileLayout layout;
    layout.Align = 512;
    for (int i = 0; i < 541; ++i) {
      FramedPicture p;
      if (i < 106) {
        for (size_t k = 0; k < p.Index.size(); ++k) p.Index[k] = static_cast<uint8_t>(i * 31 + k * 7);
        p.Opaque.fill(1);
      } else {
        const int width = 16 + i * 13 % 49;
        const int first = (64 - width) / 2;
        for (int x = first; x < first + width; ++x) {
          const int top = 64 - (20 + (x * 7 + i) % 40);
          for (int y = top; y < 64; ++y) {
            if ((x * 5 + y) % 23 <= 2) continue;
            p.Index[static_cast<size_t>(64 * x + y)] = static_cast<uint8_t>((i + x + y) % 256);
            p.Opaque[static_cast<size_t>(64 * x + y)] = 1;
          }
        }
      }
      layout.Chunks.push_back({i < 106 ? EncodeTextureChunk(p) : EncodeSpriteChunk(p), {}, {}});
      char name[32];
      std::snprintf(name, sizeof name, i < 106 ? "texture-%03d.png" : "sprite-%03d.png",
                    i < 106 ? i + 1 : i - 105);
      WriteBytes((Folder() / "pictures" / name).string(), FramedPng(p));
    }
    for (int i = 0; i < 122; ++i)
      layout.Chunks.push_back({std::vector<uint8_t>(1000 + i * 13 % 3000, static_cast<uint8_t>(i)), {}, {}});
    const std::string path = (Folder() / "vswap.wl6").string();
    WritePageFile(path, layout);
    return path;
  }();
  return base;
}

void BM_ExportPng(benchmark::State& state) {
  const std::string base = FullSizeFileAndPictures();
  const QuietStdout quiet;
  for (auto _ : state) {
    if (RunCommand("export", {base, (Folder() / "export").string(), "--png"}) != 0)
      state.SkipWithError("export");
  }
}

void BM_PackFramedExport(benchmark::State& state) {
  const std::string base = FullSizeFileAndPictures();
  const QuietStdout quiet;
  for (auto _ : state) {
    if (RunCommand("pack", {(Folder() / "pictures").string(), (Folder() / "packed.wl6").string(), "--base",
                            base}) != 0)
      state.SkipWithError("pack");
  }
}

BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackFramedExport)->Unit(benchmark::kMillisecond);

}  // namespace
