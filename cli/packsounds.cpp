#include "cli/packsounds.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <system_error>

#include "base/bytereader.h"
#include "base/bytes.h"
#include "base/decimal.h"
#include "cli/files.h"
#include "pagefile/soundtable.h"
#include "sound/gamesound.h"

namespace {

constexpr size_t kMaxSamples = 65535;  // the table's 16-bit length

// NNN of "sound-NNN.EXT", EXT any single extension; any other name is not a
// sound file of ours.
std::optional<uint32_t> SoundFileNumber(const std::string& name) {
  if (!name.starts_with("sound-")) return std::nullopt;
  const size_t dot = name.find('.');
  if (dot == std::string::npos || dot + 1 == name.size() || name.find('.', dot + 1) != std::string::npos)
    return std::nullopt;
  const std::optional<uint64_t> number = ParseDecimal(std::string_view(name).substr(6, dot - 6), 5);
  if (!number) return std::nullopt;
  return static_cast<uint32_t>(*number);
}

// A sound of at most 65535 samples, with room for whatever a sound editor
// stores beside them: 9.3 seconds of 8 channels of 64-bit samples at 96 kHz
// fit. Anything larger is not one of the game's sounds.
constexpr uintmax_t kMaxSoundFile = 64 << 20;

bool ReadSoundFile(const std::filesystem::path& path, std::vector<uint8_t>& samples, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileWhole(path, kMaxSoundFile, "a sound of at most 65535 samples", bytes, error)) return false;
  return DecodeGameSound(bytes, kMaxSamples, samples, error);
}

}  // namespace

SoundFiles ReadSoundFiles(const std::filesystem::path& dir, std::vector<std::string>& errors) {
  std::map<uint32_t, std::string> found;
  std::vector<uint32_t> twice;  // not read: which of the files is meant is for the user to say
  std::error_code error;
  for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    const std::string name = PathText(it->path().filename());
    const std::optional<uint32_t> number = SoundFileNumber(name);
    if (!number) continue;
    const auto [at, added] = found.emplace(*number, name);
    if (!added) {
      errors.push_back(std::max(name, at->second) + ": " + std::min(name, at->second) +
                       " names the same sound; keep one of them");
      twice.push_back(*number);
    }
  }
  if (error) errors.push_back("cannot read the folder '" + PathText(dir) + "': " + error.message());
  SoundFiles files;
  for (const auto& [number, name] : found) {
    if (std::find(twice.begin(), twice.end(), number) != twice.end()) continue;
    SoundReplacement sound{number, {}};
    std::string why;
    if (!ReadSoundFile(dir / Utf8Path(name), sound.Samples, why)) {
      errors.push_back(name + ": " + why);
      continue;
    }
    files.Sounds.push_back(std::move(sound));
    files.Names.push_back(name);
  }
  return files;
}

size_t DropUnchangedSounds(const RWlFile& base, const SoundTable& table, SoundFiles& files) {
  size_t dropped = 0;
  for (size_t i = 0; i < files.Sounds.size();) {
    const SoundReplacement& s = files.Sounds[i];
    const auto old = std::find_if(table.Sounds.begin(), table.Sounds.end(),
                                  [&](const SoundEntry& e) { return e.Number == s.Number; });
    if (old != table.Sounds.end() && !old->Absent && SoundSamples(base, *old) == s.Samples) {
      files.Sounds.erase(files.Sounds.begin() + static_cast<std::ptrdiff_t>(i));
      files.Names.erase(files.Names.begin() + static_cast<std::ptrdiff_t>(i));
      ++dropped;
    } else {
      ++i;
    }
  }
  return dropped;
}

void PlaceSounds(const RWlFile& base, const SoundTable& table, const SoundFiles& files,
                 std::vector<NewChunk>& chunks, std::vector<uint8_t>& newTable,
                 std::vector<std::string>& lines, std::vector<std::string>& errors) {
  std::vector<uint8_t> oldTable;
  if (table.TableChunk < base.Chunks.size()) {
    const RWlChunk& last = base.Chunks[table.TableChunk];
    oldTable.resize(last.Size);
    ByteReader(last.Data.StoredBytes()).Read(oldTable.data(), oldTable.size());
  }
  SoundRewrite rewrite = ReplaceSounds(table, oldTable, files.Sounds);
  errors.insert(errors.end(), rewrite.Errors.begin(), rewrite.Errors.end());
  if (!rewrite.Errors.empty()) return;

  // Kept base chunks bring along whatever pack already put in their place.
  std::vector<NewChunk> placed;
  for (const NewChunk& c : rewrite.Chunks) placed.push_back(c.Base == NewChunk::kNew ? c : chunks[c.Base]);
  newTable = std::move(rewrite.Table);
  placed.push_back({NewChunk::kNew, newTable});
  chunks = std::move(placed);
  for (size_t i = 0; i < files.Sounds.size(); ++i) {
    const SoundReplacement& s = files.Sounds[i];
    const uint32_t first = table.SoundStart + ReadLe16(&newTable[4 * size_t{s.Number - 1}]);
    char line[160];
    std::snprintf(line, sizeof line, "%s (chunk %u, %u pages) from %s, %zu samples, %s s",
                  SoundName(s.Number).c_str(), static_cast<unsigned>(first),
                  static_cast<unsigned>(SoundChunks(static_cast<uint32_t>(s.Samples.size()))),
                  files.Names[i].c_str(), s.Samples.size(),
                  SoundSeconds(static_cast<uint32_t>(s.Samples.size())).c_str());
    lines.push_back(line);
  }
}
