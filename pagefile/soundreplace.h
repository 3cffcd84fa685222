// Replacing sounds in a page file's chunk list: the replaced sounds' pages
// give way to new ones, the chunks after them move, and the table (the last
// chunk) is rewritten; everything else stays byte for byte, the header's
// sound start included.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pagefile/pagelayout.h"
#include "pagefile/soundtable.h"

struct SoundReplacement {
  uint32_t Number = 0;           // the table entry, from 1
  std::vector<uint8_t> Samples;  // 8-bit unsigned mono at 7042 Hz
};

struct SoundRewrite {
  // Every chunk of the new file but the table, which comes last; empty when
  // Errors is not.
  std::vector<NewChunk> Chunks;
  std::vector<uint8_t> Table;
  std::vector<std::string> Errors;  // every reason it cannot be done, each with its numbers
};

// The new chunk list of a base file whose sound table reads as `table`, with
// the table's bytes `tableBytes` (its last chunk). Replaced sounds must be
// good entries whose pages no other sound shares; entries that are not good
// keep their words as they were. The new pages view `replacements`, which
// must outlive the result.
SoundRewrite ReplaceSounds(const SoundTable& table, std::span<const uint8_t> tableBytes,
                           const std::vector<SoundReplacement>& replacements);
