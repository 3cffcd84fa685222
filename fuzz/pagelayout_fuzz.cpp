// Any bytes as a base page file, with one of its chunks given new bytes of
// another length (or the same): the assembled file must load back with
// every other chunk as the base has it, and cost memory in proportion to
// the base.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/bytereader.h"
#include "pagefile/pagelayout.h"

namespace {

std::vector<uint8_t> Bytes(const RWlChunk& chunk) {
  std::vector<uint8_t> bytes(chunk.Size);
  ByteReader(chunk.Data.StoredBytes()).Read(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  MemoryStream in;
  in.Write(data + 3, size - 3);
  RWlFile base;
  LoadPageFile(base, in, "fuzz.wl6");
  if (base.Chunks.empty()) return 0;
  // The first three bytes choose the chunk and its new length.
  const uint32_t changed = (data[0] | uint32_t{data[1]} << 8) % base.Chunks.size();
  const std::vector<uint8_t> bytes(data[2] == 0 ? base.Chunks[changed].Size : data[2], 0x5A);
  std::vector<NewChunk> chunks(base.Chunks.size());
  for (uint32_t i = 0; i < chunks.size(); ++i) chunks[i].Base = i;
  chunks[changed] = {NewChunk::kNew, bytes};

  std::vector<uint8_t> out;
  std::string error;
  if (!AssemblePageFile(base, chunks, out, error)) return 0;
  // The base's bytes, its chunks again (those past its end as zeros, no more
  // than it holds), the new bytes, and alignment.
  if (out.size() > 3 * base.Bytes.size() + bytes.size() + 512 * (chunks.size() + 1)) std::abort();
  MemoryStream written;
  written.Write(out.data(), out.size());
  RWlFile after;
  LoadPageFile(after, written, "out.wl6");
  if (after.Chunks.size() != base.Chunks.size()) std::abort();
  for (uint32_t i = 0; i < base.Chunks.size(); ++i)
    if (Bytes(after.Chunks[i]) != (i == changed ? bytes : Bytes(base.Chunks[i]))) std::abort();
  return 0;
}
