// Any bytes as a page file: the loader must keep its invariants and never
// read outside its buffers.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pagefile/wlfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/tessarine-loader-fuzz-" + std::to_string(getpid()) + ".wl6";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  RWlFile file;
  LoadPageFile(file, path);
  int64_t total = 0;
  for (RWlChunk& chunk : file.Chunks) {
    if (chunk.Data->Size() != chunk.Size) std::abort();
    uint8_t buffer[256];
    chunk.Data->Seek(-3, SeekOrigin::End);
    chunk.Data->Read(buffer, sizeof buffer);
    total += chunk.Size;
  }
  if (total != file.TextureBytes + file.SpriteBytes + file.UnknownBytes) std::abort();
  if (file.TextureCount + file.SpriteCount + file.UnknownCount != file.Chunks.size()) std::abort();
  return 0;
}
