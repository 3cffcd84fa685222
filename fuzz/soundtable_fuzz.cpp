// Any bytes as a page file with sounds: the table reader must report what
// does not fit and hand out only entries whose pages hold their samples.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pagefile/pagelayout.h"
#include "pagefile/sounds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/tessarine-soundtable-fuzz-" + std::to_string(getpid()) + ".wl6";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  RWlFile file;
  LoadPageFile(file, path);
  const SoundTable table = ReadSoundTable(file, ReadHeaderWords(path).SoundStart);
  if (table.Sounds.size() > table.Entries) std::abort();
  for (const SoundEntry& sound : table.Sounds) {
    if (sound.FirstChunk + sound.ChunkCount > table.TableChunk) std::abort();
    if (SoundSamples(file, sound).size() != sound.Bytes) std::abort();
  }
  return 0;
}
