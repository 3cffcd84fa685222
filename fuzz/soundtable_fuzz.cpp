// Any bytes as a page file with sounds: the table reader must report what
// does not fit and hand out only entries whose pages hold their samples.
#include <cstdint>
#include <cstdlib>

#include "pagefile/sections.h"
#include "pagefile/soundtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStream in;
  in.Write(data, size);
  RWlFile file;
  LoadPageFile(file, in, "fuzz.wl6");
  const GameSections sections = ReadGameSections(file);
  if (sections.SpriteStart > sections.SoundStart || sections.SoundStart > sections.ChunkCount) std::abort();
  const SoundTable table = ReadSoundTable(file, sections);
  if (table.Sounds.size() > table.Entries) std::abort();
  for (const SoundEntry& sound : table.Sounds) {
    if (sound.FirstChunk + sound.ChunkCount > table.TableChunk) std::abort();
    for (uint32_t i = 0; i < sound.ChunkCount; ++i)
      if ((file.Chunks[sound.FirstChunk + i].Size == 0) != sound.Absent) std::abort();
    if (!sound.Absent && SoundSamples(file, sound).size() != sound.Bytes) std::abort();
  }
  return 0;
}
