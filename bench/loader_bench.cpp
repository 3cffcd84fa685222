// Loading a page file beside a plain read of the same file into memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pagefile/wlfile.h"
#include "pagewriter.h"

namespace {

// A file shaped like the game's: 106 textures of 4096 bytes, 435 sprites of
// about 1.5 KB and 122 unknown chunks, about 1.5 MB in all.
std::string FullSizeFile() {
  static const std::string path = [] {
    PageFileLayout layout;
    for (int i = 0; i < 663; ++i) {
      const size_t size = i < 106 ? 4096 : i < 541 ? 1200 + (i * 37) % 700 : 1000 + (i * 13) % 3000;
      layout.Chunks.push_back({std::vector<uint8_t>(size, static_cast<uint8_t>(i)), {}, {}});
    }
    const std::string p = (std::filesystem::temp_directory_path() / "tessarine-bench-full.wl6").string();
    WritePageFile(p, layout);
    return p;
  }();
  return path;
}

std::string LargeFile() {
  static const std::string path = [] {
    PageFileLayout layout;
    for (int i = 0; i < 65535; ++i)
      layout.Chunks.push_back({std::vector<uint8_t>(16, static_cast<uint8_t>(i)), {}, {}});
    const std::string p = (std::filesystem::temp_directory_path() / "tessarine-bench-65535.wl6").string();
    WritePageFile(p, layout);
    return p;
  }();
  return path;
}

void PlainRead(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::vector<uint8_t> bytes(static_cast<size_t>(std::filesystem::file_size(path)));
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    benchmark::DoNotOptimize(bytes.data());
  }
}

void Load(benchmark::State& state, const std::string& path) {
  RWlFile file;
  for (auto _ : state) {
    std::string error;
    LoadPageFile(file, path, error);
    benchmark::DoNotOptimize(file.Chunks.data());
  }
}

void BM_PlainReadFullSize(benchmark::State& s) { PlainRead(s, FullSizeFile()); }
void BM_LoadFullSize(benchmark::State& s) { Load(s, FullSizeFile()); }
void BM_PlainRead65535(benchmark::State& s) { PlainRead(s, LargeFile()); }
void BM_Load65535(benchmark::State& s) { Load(s, LargeFile()); }

BENCHMARK(BM_PlainReadFullSize);
BENCHMARK(BM_LoadFullSize);
BENCHMARK(BM_PlainRead65535);
BENCHMARK(BM_Load65535);

}  // namespace
