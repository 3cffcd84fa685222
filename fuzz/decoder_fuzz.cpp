// Any bytes as a texture or sprite chunk (the first byte chooses which, and
// how many zero bytes past the end of the file follow them): the decoder must
// leave a well-formed bitmap and a count, and never read or write outside its
// buffers.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/wlfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (InitBmpTemplate(), true);
  if (!ready || size < 1 || size > 1 + 65535) return 0;
  const bool sprite = data[0] & 1;
  const std::vector<uint8_t> bytes(data + 1, data + size);
  // With a tail, the chunk's view does not hold all its bytes, and the
  // decoder reads them out rather than working in place.
  const size_t chunkSize = std::min<size_t>(bytes.size() + (data[0] >> 1), 65535);
  const size_t stored = std::min(bytes.size(), chunkSize);

  RWlFile file;
  const uint32_t index = sprite ? TextureChunks : 0;
  file.Chunks.resize(index + 1);
  file.Chunks[index].Size = static_cast<uint16_t>(chunkSize);
  file.Chunks[index].Data = {bytes.data(), static_cast<uint32_t>(stored), static_cast<uint32_t>(chunkSize)};
  if (!EnsureDecoded(file, index) || EnsureDecoded(file, index)) std::abort();

  const RWlChunk& e = file.Chunks[index];
  const Bitmap& image = *e.Image;
  if (image.Empty() || image.Height() != 64 || image.Width() < 0 || image.Width() > 64) std::abort();
  if (!sprite && image.Width() != 64) std::abort();
  if (e.Colors > 256) std::abort();
  for (size_t i = 0; i < PaletteSize; ++i)
    if (image.Info()[40 + i] != BmpTemplate[PaletteOffset + i]) std::abort();

  // A texture shows its chunk byte for byte, index 0 where the chunk ends,
  // and counts the indices of the bytes it has.
  std::array<bool, 256> shown{};
  std::array<bool, 256> supplied{};
  for (int32_t x = 0; x < image.Width(); ++x) {
    for (int32_t y = 0; y < 64; ++y) {
      const int pixel = image.PixelIndex(x, y);
      const auto at = static_cast<size_t>(x * 64 + y);
      if (!sprite && pixel != (at < stored ? bytes[at] : 0)) std::abort();
      if (!sprite && at < chunkSize) supplied[static_cast<size_t>(pixel)] = true;
      if (pixel != 0) shown[static_cast<size_t>(pixel)] = true;
    }
  }
  const auto count = [](const std::array<bool, 256>& flags) {
    return std::count(flags.begin(), flags.end(), true);
  };
  if (!sprite && e.Colors != count(supplied)) std::abort();
  // Every index but 0 that a sprite shows came from a run, so it was counted.
  if (sprite && e.Colors < count(shown)) std::abort();
  return 0;
}
