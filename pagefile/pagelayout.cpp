#include "pagefile/pagelayout.h"

#include <cstring>

#include "winlayer/bytes.h"
#include "winlayer/streams.h"

namespace {

constexpr uint64_t kAlignment = 512;

uint64_t AlignUp(uint64_t at) { return (at + kAlignment - 1) / kAlignment * kAlignment; }

}  // namespace

HeaderWords ReadHeaderWords(const std::string& path) {
  uint8_t head[6] = {};
  FileStream in(path);
  if (in.IsOpen()) in.Read(head, sizeof head);
  return {ReadLe16(head), ReadLe16(head + 2), ReadLe16(head + 4)};
}

std::optional<std::vector<uint8_t>> LayOutPageFile(const HeaderWords& words,
                                                   std::span<const LaidOutChunk> chunks) {
  const size_t n = chunks.size();
  if (n > 0xFFFF) return std::nullopt;
  std::vector<uint64_t> offsets(n, 0);
  uint64_t end = 6 + 6 * n;
  for (size_t i = 0; i < n; ++i) {
    const std::span<const uint8_t> bytes = chunks[i].Bytes;
    if (bytes.size() > 0xFFFF) return std::nullopt;
    if (bytes.empty() && chunks[i].ZeroOffsetWhenEmpty) continue;
    offsets[i] = AlignUp(end);
    if (offsets[i] > 0xFFFFFFFF) return std::nullopt;
    end = offsets[i] + bytes.size();
  }

  std::vector<uint8_t> file(static_cast<size_t>(end), 0);
  WriteLe16(file.data(), static_cast<uint16_t>(n));
  WriteLe16(file.data() + 2, words.SpriteStart);
  WriteLe16(file.data() + 4, words.SoundStart);
  for (size_t i = 0; i < n; ++i) {
    WriteLe32(file.data() + 6 + 4 * i, static_cast<uint32_t>(offsets[i]));
    WriteLe16(file.data() + 6 + 4 * n + 2 * i, static_cast<uint16_t>(chunks[i].Bytes.size()));
    if (!chunks[i].Bytes.empty())
      std::memcpy(file.data() + offsets[i], chunks[i].Bytes.data(), chunks[i].Bytes.size());
  }
  return file;
}
