// Any bytes as a page file with sounds: the table reader must report what
// does not fit and hand out only entries whose pages hold their samples.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "pagefile/pagelayout.h"
#include "pagefile/sounds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The bytes go to a file in memory that no folder lists, so that nothing
  // is left behind; the loader opens it by its name under /proc.
  static const int fd = memfd_create("soundtable-fuzz.wl6", MFD_CLOEXEC);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;

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
