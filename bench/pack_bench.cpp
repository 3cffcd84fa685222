// Packing a full-size file from its complete export in the frame (541
// pictures), beside exporting the same file in the frame: files read and
// written in both.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/export.h"
#include "cli/pack.h"
#include "imaging/spriteencoder.h"
#include "pagewriter.h"

namespace fs = std::filesystem;

namespace {

const fs::path& Folder() {
  static const fs::path folder = fs::temp_directory_path() / "tessarine-bench-pack";
  return folder;
}

// A file shaped like the game's, in its layout: 106 textures, 435 sprites
// of 16 to 64 columns of 20 to 60 rows, a few runs each, and 122 sounds.
RWlFile& FullSizeFile() {
  static RWlFile file = [] {
    fs::create_directories(Folder());
    PageFileLayout layout;
    layout.Align = 512;
    layout.FirstSprite = 106;
    layout.FirstSound = 541;
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
    }
    for (int i = 0; i < 122; ++i)
      layout.Chunks.push_back({std::vector<uint8_t>(1000 + i * 13 % 3000, static_cast<uint8_t>(i)), {}, {}});
    const std::string path = (Folder() / "vswap.wl6").string();
    WritePageFile(path, layout);
    RWlFile f;
    std::string error;
    LoadPageFile(f, path, error);
    return f;
  }();
  return file;
}

bool ExportFramed(const fs::path& dir) {
  fs::create_directories(dir);
  ExportReport report;
  std::string error;
  return ExportElements(FullSizeFile(), ReadGameSections(FullSizeFile()), BuiltInPalette(), dir,
                        {ExportOptions::Pictures::Framed, false}, report, error, [](const std::string&) {});
}

void BM_ExportFramedSameFile(benchmark::State& state) {
  for (auto _ : state) {
    if (!ExportFramed(Folder() / "export")) state.SkipWithError("export");
  }
}

void BM_PackFramedExport(benchmark::State& state) {
  const fs::path pictures = Folder() / "pictures";
  if (!ExportFramed(pictures)) state.SkipWithError("export");
  const PackRequest request{pictures.string(), (Folder() / "packed.wl6").string(), FullSizeFile().FileName,
                            false};
  for (auto _ : state) {
    const PackResult result = Pack(request);
    if (!result.Written || result.UnchangedCount != 541) state.SkipWithError("pack");
  }
}

BENCHMARK(BM_ExportFramedSameFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackFramedExport)->Unit(benchmark::kMillisecond);

}  // namespace
