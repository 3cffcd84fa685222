#include "pagefile/soundtable.h"

#include <algorithm>
#include <cstdio>

#include "base/bytereader.h"

uint32_t SoundChunks(uint32_t bytes) { return (bytes + SoundPageBytes - 1) / SoundPageBytes; }

std::string SoundSeconds(uint32_t bytes) {
  const uint64_t ms = (uint64_t{bytes} * 1000 + SoundRate / 2) / SoundRate;
  char text[32];
  std::snprintf(text, sizeof text, "%u.%03u", static_cast<unsigned>(ms / 1000),
                static_cast<unsigned>(ms % 1000));
  return text;
}

std::string SoundNumber(uint32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "%03u", static_cast<unsigned>(number));
  return text;
}

std::string SoundName(uint32_t number) { return "sound " + SoundNumber(number); }

size_t SoundTable::AbsentCount() const {
  return static_cast<size_t>(
      std::count_if(Sounds.begin(), Sounds.end(), [](const SoundEntry& s) { return s.Absent; }));
}

namespace {

// Bytes of `chunk` that the file holds.
uint64_t StoredBytes(const RWlFile& file, const RWlChunk& chunk) {
  const auto size = static_cast<uint64_t>(std::max<int64_t>(file.FileSize, 0));
  return chunk.Offset >= size ? 0 : std::min<uint64_t>(chunk.Size, size - chunk.Offset);
}

std::string ChunkList(const std::vector<uint32_t>& chunks) {
  std::string text;
  for (size_t i = 0; i < chunks.size() && i < 3; ++i) text += (i ? ", " : "") + std::to_string(chunks[i]);
  if (chunks.size() > 3) text += ", ...";
  return text;
}

// Why entry `number` does not fit, or an empty string if it does; `absent`
// says whether all its pages are absent.
std::string CheckEntry(const RWlFile& file, const SoundTable& table, uint32_t number, uint32_t page,
                       uint32_t bytes, bool& absent) {
  const std::string name = SoundName(number);
  const uint32_t first = table.SoundStart + page;
  const uint32_t count = SoundChunks(bytes);
  const std::string section = table.SoundStart < table.TableChunk
                                  ? "the sound section (chunks " + std::to_string(table.SoundStart) + " to " +
                                        std::to_string(table.TableChunk - 1) + ")"
                                  : "the sound section, which is empty (sound start is the table's chunk)";
  // A sound of no bytes has no pages: its first page may name the table.
  if (first > table.TableChunk || (count > 0 && first == table.TableChunk))
    return name + " starts at page " + std::to_string(page) + " (chunk " + std::to_string(first) +
           "), past " + section;
  if (first + count > table.TableChunk)
    return name + " needs " + std::to_string(count) + " pages from chunk " + std::to_string(first) +
           ", which run " + std::to_string(first + count - table.TableChunk) + " past " + section;
  std::vector<uint32_t> missing;
  for (uint32_t i = 0; i < count; ++i)
    if (file.Chunks[first + i].Size == 0) missing.push_back(first + i);
  absent = count > 0 && missing.size() == count;
  if (absent) return {};
  if (!missing.empty())
    return name + " is " + std::to_string(bytes) + " bytes long, but " + std::to_string(missing.size()) +
           " of its " + std::to_string(count) + " pages are absent from the file (chunk " +
           ChunkList(missing) + "): only part of it is there";
  for (uint32_t i = 0; i < count; ++i) {
    const RWlChunk& chunk = file.Chunks[first + i];
    const uint32_t needed = i + 1 < count ? SoundPageBytes : bytes - i * SoundPageBytes;
    if (chunk.Size < needed)
      return name + " is " + std::to_string(bytes) + " bytes long, but its page in chunk " +
             std::to_string(first + i) + " holds " + std::to_string(chunk.Size) + " of the " +
             std::to_string(needed) + " bytes it needs there";
    if (StoredBytes(file, chunk) < needed)
      return name + ": its page in chunk " + std::to_string(first + i) + " runs past the end of the file";
  }
  return {};
}

}  // namespace

SoundTable ReadSoundTable(const RWlFile& file, const GameSections& sections) {
  SoundTable table;
  table.SoundStart = sections.SoundStart;
  if (file.Chunks.empty()) {
    table.Problems.push_back("the file has no chunks, so no sound table");
    return table;
  }
  if (!sections.HasTable()) {
    table.Problems.push_back("the file has no sound table: its " + std::to_string(sections.ChunkCount) +
                             " chunks are all textures and sprites");
    return table;
  }
  table.TableChunk = sections.TableChunk();
  const RWlChunk& last = file.Chunks[table.TableChunk];
  if (last.Size == 0) {
    table.Problems.push_back("the sound table (chunk " + std::to_string(table.TableChunk) +
                             ") is absent: its length in the directory is 0");
    return table;
  }
  const uint64_t stored = StoredBytes(file, last);
  if (stored < last.Size)
    table.Problems.push_back("the sound table (chunk " + std::to_string(table.TableChunk) + ") runs " +
                             std::to_string(last.Size - stored) + " bytes past the end of the file");
  table.Entries = static_cast<uint32_t>(stored / 4);
  const ByteReader words(last.Data.StoredBytes());
  for (uint32_t i = 0; i < table.Entries; ++i) {
    const uint32_t page = words.Le16At(4 * size_t{i});
    const uint32_t bytes = words.Le16At(4 * size_t{i} + 2);
    bool absent = false;
    std::string problem = CheckEntry(file, table, i + 1, page, bytes, absent);
    if (problem.empty())
      table.Sounds.push_back({i + 1, table.SoundStart + page, SoundChunks(bytes), bytes, absent});
    else
      table.Problems.push_back(std::move(problem));
  }
  return table;
}

std::vector<uint8_t> SoundSamples(const RWlFile& file, const SoundEntry& sound) {
  std::vector<uint8_t> samples(sound.Bytes);
  for (uint32_t i = 0; i < sound.ChunkCount; ++i) {
    const size_t at = size_t{i} * SoundPageBytes;
    ByteReader(file.Chunks[sound.FirstChunk + i].Data.StoredBytes())
        .Read(samples.data() + at, std::min<size_t>(SoundPageBytes, samples.size() - at));
  }
  return samples;
}
