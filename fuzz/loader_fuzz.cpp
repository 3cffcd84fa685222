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
    // Every byte of a chunk is readable, in place and as a stream.
    ByteReader bytes(ChunkBytes(file, i));
    bytes.Seek(chunk.Size > 3 ? chunk.Size - 3u : 0u);
    uint8_t buffer[256];
    bytes.Read(buffer, 3);
    ByteViewStream stream(chunk.Data);
    stream.Seek(-3, SeekOrigin::End);
    if (stream.Read(buffer, sizeof buffer) != std::min<size_t>(chunk.Size, 3)) std::abort();
    total += chunk.Size;
  }
  if (total != file.TextureBytes + file.SpriteBytes + file.UnknownBytes) std::abort();
  if (file.TextureCount + file.SpriteCount + file.UnknownCount != file.Chunks.size()) std::abort();
  if (file.Bytes.size() > size) std::abort();
  return 0;
}
