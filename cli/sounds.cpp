#include "cli/sounds.h"

#include <cstdio>

#include "cli/outputfile.h"
#include "pagefile/pagelayout.h"
#include "pagefile/sounds.h"
#ifdef TESSARINE_SOUND
#include "sound/audio.h"
#endif

namespace {

void Complain(const std::string& path, const std::string& problem) {
  std::fprintf(stderr, "tessarine-cli: %s: %s\n", path.c_str(), problem.c_str());
}

// The table of a loaded file, with every problem reported on stderr.
SoundTable CheckedTable(const RWlFile& file) {
  const SoundTable table = ReadSoundTable(file, ReadHeaderWords(file.FileName).SoundStart);
  if (table.Problems.empty() && table.Entries == 0)
    Complain(file.FileName,
             "the sound table (chunk " + std::to_string(table.TableChunk) + ") holds no sounds");
  for (const std::string& problem : table.Problems) Complain(file.FileName, problem);
  return table;
}

}  // namespace

int ListSounds(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fputs("tessarine-cli: usage: tessarine-cli sounds FILE\n", stderr);
    return 2;
  }
  RWlFile file;
  if (const FileStream in(args[0]); !in.IsOpen()) Complain(args[0], "cannot open it: " + in.Problem());
  LoadPageFile(file, args[0]);
  const SoundTable table = CheckedTable(file);
  for (const SoundEntry& s : table.Sounds)
    std::printf("%03u %u %u %u %s\n", static_cast<unsigned>(s.Number), static_cast<unsigned>(s.FirstChunk),
                static_cast<unsigned>(s.ChunkCount), static_cast<unsigned>(s.Bytes),
                SoundSeconds(s.Bytes).c_str());
  return table.Problems.empty() ? 0 : 1;
}

#ifdef TESSARINE_SOUND
SoundExport ExportSounds(const RWlFile& file, const std::filesystem::path& dir) {
  SoundExport result;
  const SoundTable table = CheckedTable(file);
  result.BadEntries = table.Problems.size();
  std::vector<uint8_t> wav;
  for (const SoundEntry& s : table.Sounds) {
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
#endif
