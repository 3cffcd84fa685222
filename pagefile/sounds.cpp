#include "pagefile/sounds.h"

#include <algorithm>
#include <cstdio>

#include "base/bytereader.h"
#include "base/bytes.h"

uint32_t SoundChunks(uint32_t bytes) { return (bytes + SoundPageBytes - 1) / SoundPageBytes; }

std::string SoundSeconds(uint32_t bytes) {
  const uint64_t ms = (uint64_t{bytes} * 1000 + SoundRate / 2) / SoundRate;
  char text[32];
  std::snprintf(text, sizeof text, "%u.%03u", static_cast<unsigned>(ms / 1000),
                static_cast<unsigned>(ms % 1000));
  return text;
}

namespace {

std::string Number(uint32_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "%03u", static_cast<unsigned>(n));
  return text;
}

// Bytes of `chunk` that the file holds.
uint64_t StoredBytes(const RWlFile& file, const RWlChunk& chunk) {
  const auto size = static_cast<uint64_t>(std::max<int64_t>(file.FileSize, 0));
  return chunk.Offset >= size ? 0 : std::min<uint64_t>(chunk.Size, size - chunk.Offset);
}

// Why entry `number` does not fit, or an empty string if it does.
std::string CheckEntry(const RWlFile& file, const SoundTable& table, uint32_t number, uint32_t page,
                       uint32_t bytes) {
  const std::string name = "sound " + Number(number);
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

SoundTable ReadSoundTable(const RWlFile& file, uint16_t soundStart) {
  SoundTable table;
  table.SoundStart = soundStart;
  if (file.Chunks.empty()) {
    table.Problems.push_back("the file has no chunks, so no sound table");
    return table;
  }
  table.TableChunk = static_cast<uint32_t>(file.Chunks.size() - 1);
  if (soundStart > table.TableChunk) {
    table.Problems.push_back("the header's sound start, chunk " + std::to_string(soundStart) +
                             ", lies past the sound table in chunk " + std::to_string(table.TableChunk));
    return table;
  }
  const RWlChunk& last = file.Chunks.back();
  const uint64_t stored = StoredBytes(file, last);
  if (stored < last.Size)
    table.Problems.push_back("the sound table (chunk " + std::to_string(table.TableChunk) + ") runs " +
                             std::to_string(last.Size - stored) + " bytes past the end of the file");
  table.Entries = static_cast<uint32_t>(stored / 4);
  std::vector<uint8_t> words(table.Entries * 4);
  if (!words.empty()) {
    ByteReader(last.Data.StoredBytes()).Read(words.data(), words.size());
  }
  for (uint32_t i = 0; i < table.Entries; ++i) {
    const uint32_t page = ReadLe16(&words[4 * i]);
    const uint32_t bytes = ReadLe16(&words[4 * i + 2]);
    std::string problem = CheckEntry(file, table, i + 1, page, bytes);
    if (problem.empty())
      table.Sounds.push_back({i + 1, soundStart + page, SoundChunks(bytes), bytes});
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
