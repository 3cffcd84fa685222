#include "pagefile/soundreplace.h"

#include <algorithm>
#include <map>

#include "base/bytes.h"

namespace {

constexpr uint32_t kWordMax = 65535;

const SoundEntry* Find(const SoundTable& table, uint32_t number) {
  for (const SoundEntry& s : table.Sounds)
    if (s.Number == number) return &s;
  return nullptr;
}

// Why `r` cannot replace its entry, or an empty string.
std::string CheckReplacement(const SoundTable& table, const SoundReplacement& r) {
  const SoundEntry* old = Find(table, r.Number);
  if (!old) {
    if (r.Number < 1 || r.Number > table.Entries)
      return SoundName(r.Number) + " is not in the base file, whose table holds " +
             std::to_string(table.Entries) + " sounds";
    return SoundName(r.Number) + " cannot be replaced: its table entry does not fit the base file";
  }
  if (r.Samples.size() > kWordMax)
    return SoundName(r.Number) + " is " + std::to_string(r.Samples.size()) + " samples long, " +
           std::to_string(r.Samples.size() - kWordMax) + " more than the 65535 the table can hold";
  for (const SoundEntry& other : table.Sounds) {
    if (other.Number == r.Number) continue;
    const uint32_t end = old->FirstChunk + old->ChunkCount;
    const uint32_t otherEnd = other.FirstChunk + other.ChunkCount;
    if (old->ChunkCount > 0 && other.FirstChunk < end && old->FirstChunk < otherEnd)
      return SoundName(r.Number) + " shares chunk " +
             std::to_string(std::max(old->FirstChunk, other.FirstChunk)) + " with " +
             SoundName(other.Number) + ", so it cannot be replaced alone";
    // A sound of no pages gets its new ones where its first page is named,
    // which must not split another sound's pages.
    if (old->ChunkCount == 0 && other.FirstChunk < old->FirstChunk && old->FirstChunk < otherEnd)
      return SoundName(r.Number) + " has no pages to replace, and its first page lies inside " +
             SoundName(other.Number);
  }
  return {};
}

}  // namespace

SoundRewrite ReplaceSounds(const SoundTable& table, std::span<const uint8_t> tableBytes,
                           const std::vector<SoundReplacement>& replacements) {
  SoundRewrite result;
  if (table.SoundStart > table.TableChunk || tableBytes.size() < 4 * size_t{table.Entries}) {
    result.Errors.push_back("the base file has no sound table whose sounds could be replaced");
    return result;
  }
  std::map<uint32_t, const SoundReplacement*> byNumber;
  for (const SoundReplacement& r : replacements) {
    if (!byNumber.emplace(r.Number, &r).second)
      result.Errors.push_back(SoundName(r.Number) + " is given twice");
    std::string problem = CheckReplacement(table, r);
    if (!problem.empty()) result.Errors.push_back(std::move(problem));
  }
  if (!result.Errors.empty()) return result;

  // Old chunks that replaced sounds give up, and the sounds to put in at
  // each old position.
  const size_t n = table.TableChunk + size_t{1};
  std::vector<bool> dropped(n, false);
  std::multimap<uint32_t, const SoundReplacement*> insertAt;
  for (const SoundEntry& s : table.Sounds) {
    const auto r = byNumber.find(s.Number);
    if (r == byNumber.end()) continue;
    for (uint32_t i = 0; i < s.ChunkCount; ++i) dropped[s.FirstChunk + i] = true;
    insertAt.emplace(s.FirstChunk, r->second);
  }

  std::vector<NewChunk>& out = result.Chunks;
  for (uint32_t i = 0; i < table.SoundStart; ++i) out.push_back({i, {}});
  std::vector<uint32_t> before(n);        // new index at each old position, ahead of what goes there
  std::vector<uint32_t> kept(n);          // new index of each old chunk that stays
  std::map<uint32_t, uint32_t> newFirst;  // replaced sounds' new first chunks
  for (uint32_t i = table.SoundStart; i <= table.TableChunk; ++i) {
    before[i] = static_cast<uint32_t>(out.size());
    const auto [from, to] = insertAt.equal_range(i);
    for (auto it = from; it != to; ++it) {
      const std::span<const uint8_t> samples = it->second->Samples;
      newFirst[it->second->Number] = static_cast<uint32_t>(out.size());
      for (size_t at = 0; at < samples.size(); at += SoundPageBytes)
        out.push_back(
            {NewChunk::kNew, samples.subspan(at, std::min<size_t>(SoundPageBytes, samples.size() - at))});
    }
    if (i < table.TableChunk && !dropped[i]) {
      kept[i] = static_cast<uint32_t>(out.size());
      out.push_back({i, {}});
    }
  }

  std::vector<uint8_t>& words = result.Table;
  words.assign(tableBytes.begin(), tableBytes.end());
  for (const SoundEntry& s : table.Sounds) {
    const auto r = byNumber.find(s.Number);
    const uint32_t first = r != byNumber.end() ? newFirst[s.Number]
                           : s.ChunkCount > 0  ? kept[s.FirstChunk]
                                               : before[s.FirstChunk];
    const uint32_t page = first - table.SoundStart;
    if (page > kWordMax)
      result.Errors.push_back(SoundName(s.Number) + " would start at page " + std::to_string(page) + ", " +
                              std::to_string(page - kWordMax) + " past the 65535 the table can name");
    const size_t at = 4 * size_t{s.Number - 1};
    WriteLe16(&words[at], static_cast<uint16_t>(page));
    if (r != byNumber.end()) WriteLe16(&words[at + 2], static_cast<uint16_t>(r->second->Samples.size()));
  }
  const size_t count = out.size() + 1;
  if (count > kWordMax)
    result.Errors.push_back("the file would have " + std::to_string(count) + " chunks, " +
                            std::to_string(count - kWordMax) + " more than the 65535 its count can hold");
  if (!result.Errors.empty()) {
    out.clear();
    words.clear();
  }
  return result;
}
