// Any bytes as a page file, loaded from memory: the loader must keep its
// invariants and never read outside its buffers.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/bytereader.h"
#include "pagefile/wlfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStream in;
  in.Write(data, size);
  RWlFile file;
  LoadPageFile(file, in, "fuzz.wl6");
  int64_t total = 0;
  for (uint32_t i = 0; i < file.Chunks.size(); ++i) {
    const RWlChunk& chunk = file.Chunks[i];
    if (chunk.Data.Size != chunk.Size || chunk.Data.Stored > chunk.Size) std::abort();
    // Every byte the file holds of a chunk is readable in place.
    const std::span<const uint8_t> held = chunk.Data.StoredBytes();
    if (!held.empty() && (held.front() != file.Bytes[chunk.Offset] ||
                          held.back() != file.Bytes[chunk.Offset + held.size() - 1]))
      std::abort();
    total += chunk.Size;
  }
  if (total != file.TextureBytes + file.SpriteBytes + file.UnknownBytes) std::abort();
  if (file.TextureCount + file.SpriteCount + file.UnknownCount != file.Chunks.size()) std::abort();
  if (file.Bytes.size() > size) std::abort();
  return 0;
}
