// Decoding every texture and sprite of a full-size file, beside copying the
// same number of pixel bytes with memcpy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/wlfile.h"
#include "pagewriter.h"

namespace {

// 106 textures and 435 sprites shaped like the game's: sprites of 16 to 64
// columns, each column a few runs with gaps between them.
RWlFile& FullSizeElements() {
  static RWlFile file = [] {
    RWlFile f;
    f.Chunks.resize(TextureChunks + SpriteChunks);
    for (uint32_t i = 0; i < f.Chunks.size(); ++i) {
      std::vector<uint8_t> bytes;
      if (i < TextureChunks) {
        TexturePicture t{};
        for (int x = 0; x < 64; ++x)
          for (int y = 0; y < 64; ++y) t[x][y] = static_cast<uint8_t>(i * 31 + x * 7 + y * 3);
        bytes = EncodeTexture(t);
      } else {
        SpritePicture s{};
        for (auto& column : s) column.fill(-1);
        const int width = 16 + static_cast<int>(i * 13 % 49);
        const int first = (64 - width) / 2;
        for (int x = first; x < first + width; ++x)
          for (int y = 4; y < 64; ++y)
            if ((x * 5 + y) % 23 > 4) s[x][y] = static_cast<int16_t>((i + x + y) % 256);
        bytes = EncodeSprite(s);
      }
      f.Chunks[i].Size = static_cast<uint16_t>(bytes.size());
      f.Bytes.insert(f.Bytes.end(), bytes.begin(), bytes.end());
    }
    size_t at = 0;
    for (RWlChunk& e : f.Chunks) {
      e.Data = {f.Bytes.data() + at, e.Size, e.Size};
      at += e.Size;
    }
    InitBmpTemplate();
    return f;
  }();
  return file;
}

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
