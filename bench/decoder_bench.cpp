// Decoding every texture and sprite of a full-size file, beside copying the
// same number of pixel bytes with memcpy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fullsize.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/wlfile.h"

namespace {

// Pixel bytes of all decoded images: 64 rows of the padded width each.
size_t PixelBytes(RWlFile& file) {
  size_t total = 0;
  for (uint32_t i = 0; i < file.Chunks.size(); ++i) {
    EnsureDecoded(file, i);
    total += file.Chunks[i].Image->Bits().size();
  }
  return total;
}

void BM_DecodeAllElements(benchmark::State& state) {
  RWlFile& file = FullSizeElements();
  const size_t bytes = PixelBytes(file);
  for (auto _ : state) {
    for (uint32_t i = 0; i < file.Chunks.size(); ++i) {
      file.Chunks[i].Image.reset();
      DecodeElement(file, static_cast<int32_t>(i));
    }
    benchmark::DoNotOptimize(file.Chunks.back().Image.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_CopyPixelBytes(benchmark::State& state) {
  RWlFile& file = FullSizeElements();
  std::vector<size_t> sizes;
  for (uint32_t i = 0; i < file.Chunks.size(); ++i) {
    EnsureDecoded(file, i);
    sizes.push_back(file.Chunks[i].Image->Bits().size());
  }
  const size_t bytes = PixelBytes(file);
  std::vector<uint8_t> from(bytes, 7);
  std::vector<uint8_t> to(bytes);
  for (auto _ : state) {
    size_t at = 0;
    for (size_t size : sizes) {
      std::memcpy(to.data() + at, from.data() + at, size);
      at += size;
    }
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

BENCHMARK(BM_DecodeAllElements);
BENCHMARK(BM_CopyPixelBytes);

}  // namespace
