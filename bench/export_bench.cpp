// The export command's work on every texture and sprite of a full-size file,
// files written: as the element bitmaps (BMP), as PNG files of the same
// pictures, and framed.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "cli/export.h"
#include "fullsize.h"

namespace {

void Export(benchmark::State& state, ExportOptions::Pictures form) {
  RWlFile& file = FullSizeElements();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessarine-bench-export";
  std::filesystem::create_directories(dir);
  const ExportOptions options{form, false};
  const Palette palette = BuiltInPalette();
  ExportReport report;
  std::string error;
  for (auto _ : state) {
    if (!ExportElements(file, ReadGameSections(HeaderWords{}, TextureChunks + SpriteChunks), palette, dir,
                        options, report, error, [](const std::string&) {})) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  std::filesystem::remove_all(dir);
}

void BM_ExportBmp(benchmark::State& s) { Export(s, ExportOptions::Pictures::Bmp); }
void BM_ExportPng(benchmark::State& s) { Export(s, ExportOptions::Pictures::Png); }
void BM_ExportFramed(benchmark::State& s) { Export(s, ExportOptions::Pictures::Framed); }

BENCHMARK(BM_ExportBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFramed)->Unit(benchmark::kMillisecond);

}  // namespace
