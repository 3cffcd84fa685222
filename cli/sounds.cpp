#include "cli/sounds.h"

#include <cstdio>

#include "cli/outputfile.h"
#include "pagefile/sections.h"
#include "pagefile/sounds.h"
#include "sound/audio.h"

namespace {

void Complain(const std::string& path, const std::string& problem) {
  std::fprintf(stderr, "tessarine-cli: %s: %s\n", path.c_str(), problem.c_str());
}

// The table of a loaded file as the game reads it, with its problems
// reported on stderr.
SoundTable CheckedTable(const RWlFile& file, const GameSections& sections) {
  const SoundTable table = ReadSoundTable(file, sections);
  if (table.Problems.empty() && table.Entries == 0)
    Complain(file.FileName,
             "the sound table (chunk " + std::to_string(table.TableChunk) + ") holds no sounds");
  for (const std::string& problem : table.Problems) Complain(file.FileName, problem);
  return table;
}

}  // namespace

size_t ListSounds(const RWlFile& file, const GameSections& sections) {
  const SoundTable table = CheckedTable(file, sections);
  for (const SoundEntry& s : table.Sounds)
    std::printf("%03u %u %u %u %s%s\n", static_cast<unsigned>(s.Number), static_cast<unsigned>(s.FirstChunk),
                static_cast<unsigned>(s.ChunkCount), static_cast<unsigned>(s.Bytes),
                SoundSeconds(s.Bytes).c_str(), s.Absent ? " absent" : "");
  return table.Problems.size();
}

SoundExport ExportSounds(const RWlFile& file, const GameSections& sections,
                         const std::filesystem::path& dir) {
  SoundExport result;
  const SoundTable table = CheckedTable(file, sections);
  result.BadEntries = table.Problems.size();
  std::vector<uint8_t> wav;
  for (const SoundEntry& s : table.Sounds) {
    if (s.Absent) continue;
    char name[32];
    std::snprintf(name, sizeof name, "sound-%03u.wav", static_cast<unsigned>(s.Number));
    if (!EncodeGameWav(SoundSamples(file, s), wav, result.Error)) {
      result.Error = std::string(name) + " not written: " + result.Error;
      return result;
    }
    if (!WriteFileWhole(dir / name, wav, result.Error)) return result;
    ++result.Written;
  }
  return result;
}
