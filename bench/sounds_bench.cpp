// Exporting every sound of a full-size file as WAV beside copying the same
// bytes to as many plain files; converting a minute of CD sound beside only
// reading it through libsndfile.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "cli/files.h"
#include "pagefile/soundtable.h"
#include "pagewriter.h"
#include "sound/gamesound.h"

namespace fs = std::filesystem;

namespace {

// 541 picture chunks, 46 sounds of 1 to 4 pages over 120 chunks, the table.
struct SoundFile {
  RWlFile File;
  SoundTable Table;
  fs::path Out;
};

SoundFile& FullSizeFile() {
  static SoundFile sounds = [] {
    PageFileLayout layout;
    layout.FirstSprite = 106;
    layout.FirstSound = 541;
    for (int i = 0; i < 541; ++i) layout.Chunks.push_back({std::vector<uint8_t>(1500, 1), {}, {}});
    std::vector<uint32_t> lengths;
    for (uint32_t s = 0; s < 46; ++s)
      lengths.push_back(4096 * (s < 28 ? 2 : 1) + 1000 + 50 * s);  // 28 * 3 + 18 * 2 = 120 pages
    AddSounds(layout, lengths);
    SoundFile made;
    const fs::path dir = fs::temp_directory_path() / "tessarine-bench-sounds";
    fs::create_directories(dir / "out");
    WritePageFile((dir / "sounds.wl6").string(), layout);
    std::string error;
    LoadPageFile(made.File, (dir / "sounds.wl6").string(), error);
    made.Table = ReadSoundTable(made.File, ReadGameSections(made.File));
    made.Out = dir / "out";
    return made;
  }();
  return sounds;
}

std::string Name(const char* pattern, uint32_t number) {
  char name[32];
  std::snprintf(name, sizeof name, pattern, static_cast<unsigned>(number));
  return name;
}

void BM_CopySoundBytes(benchmark::State& state) {
  SoundFile& f = FullSizeFile();
  for (auto _ : state) {
    for (const SoundEntry& s : f.Table.Sounds) {
      const std::vector<uint8_t> bytes = SoundSamples(f.File, s);
      std::FILE* out = std::fopen((f.Out / Name("copy-%03u.raw", s.Number)).c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), out);
      std::fclose(out);
    }
  }
}

void BM_ExportSounds(benchmark::State& state) {
  SoundFile& f = FullSizeFile();
  std::vector<uint8_t> wav;
  std::string error;
  for (auto _ : state) {
    // As export does it: the table read again, each sound through libsndfile
    // and the temporary-file writer.
    const SoundTable table = ReadSoundTable(f.File, ReadGameSections(f.File));
    for (const SoundEntry& s : table.Sounds) {
      EncodeGameWav(SoundSamples(f.File, s), wav, error);
      WriteFileWhole(f.Out / Name("sound-%03u.wav", s.Number), wav, error);
    }
  }
}

// One minute of a 440 Hz tone, 16-bit stereo at 44.1 kHz, as a WAV file.
const std::vector<uint8_t>& OneMinute() {
  static const std::vector<uint8_t> bytes = [] {
    const fs::path path = fs::temp_directory_path() / "tessarine-bench-minute.wav";
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> frames(2 * 44100 * 60);
    for (size_t i = 0; i < frames.size(); ++i)
      frames[i] =
          static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i / 2) / 44100));
    sf_writef_float(file, frames.data(), 44100 * 60);
    sf_close(file);
    std::vector<uint8_t> out(fs::file_size(path));
    std::FILE* in = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(out.data(), 1, out.size(), in));
    std::fclose(in);
    return out;
  }();
  return bytes;
}

void BM_ReadOneMinute(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = OneMinute();
  std::vector<float> frames(2 * 44100 * 60);
  for (auto _ : state) {
    // libsndfile reads the same file from a path, which needs no callbacks.
    const fs::path path = fs::temp_directory_path() / "tessarine-bench-minute.wav";
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    benchmark::DoNotOptimize(sf_readf_float(file, frames.data(), 44100 * 60));
    sf_close(file);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_ConvertOneMinute(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = OneMinute();
  std::vector<uint8_t> samples;
  std::string error;
  for (auto _ : state) {
    if (!DecodeGameSound(bytes, 7042 * 61, samples, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(samples.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// Both mostly wait for the file system: wall-clock time is what they cost.
BENCHMARK(BM_CopySoundBytes)->UseRealTime();
BENCHMARK(BM_ExportSounds)->UseRealTime();
BENCHMARK(BM_ReadOneMinute)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertOneMinute)->Unit(benchmark::kMillisecond);

}  // namespace
