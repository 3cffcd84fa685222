#include "pagefile/pagelayout.h"

#include "base/bytes.h"
#include "base/streams.h"

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

std::optional<PagePlan> PlanPageFile(std::span<const ChunkSlot> chunks) {
  const size_t n = chunks.size();
  if (n > 0xFFFF) return std::nullopt;
  PagePlan plan;
  plan.Offsets.assign(n, 0);
  plan.Size = 6 + 6 * n;
  for (size_t i = 0; i < n; ++i) {
    if (chunks[i].Size == 0 && chunks[i].ZeroOffsetWhenEmpty) continue;
    const uint64_t at = AlignUp(plan.Size);
    if (at > 0xFFFFFFFF) return std::nullopt;
    plan.Offsets[i] = static_cast<uint32_t>(at);
    plan.Size = at + chunks[i].Size;
  }
  return plan;
}

std::vector<uint8_t> StartPageFile(const HeaderWords& words, std::span<const ChunkSlot> chunks,
                                   const PagePlan& plan) {
  const size_t n = chunks.size();
  std::vector<uint8_t> file(static_cast<size_t>(plan.Size), 0);
  WriteLe16(file.data(), static_cast<uint16_t>(n));
  WriteLe16(file.data() + 2, words.SpriteStart);
  WriteLe16(file.data() + 4, words.SoundStart);
  for (size_t i = 0; i < n; ++i) {
    WriteLe32(file.data() + 6 + 4 * i, plan.Offsets[i]);
    WriteLe16(file.data() + 6 + 4 * n + 2 * i, chunks[i].Size);
  }
  return file;
}
