// Replacing sounds in a page file's chunk list: the replaced sounds' pages
// give way to new ones, the chunks after them move, and the table (the last
// chunk) is rewritten; everything else stays byte for byte, the header's
// sound start included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pagefile/sounds.h"

struct SoundReplacement {
  uint32_t Number = 0;           // the table entry, from 1
  std::vector<uint8_t> Samples;  // 8-bit unsigned mono at 7042 Hz
};

struct RewrittenChunks {
  std::vector<std::vector<uint8_t>> Chunks;  // empty when Errors is not
  std::vector<std::string> Errors;           // every reason it cannot be done, each with its numbers
};

// `chunks` holds the bytes of every chunk of a file whose sound table reads
// as `table` (ReadSoundTable over the same chunks). Replaced sounds must be
// good entries whose pages no other sound shares. Entries that are not good
// keep their words as they were.
RewrittenChunks ReplaceSounds(const std::vector<std::vector<uint8_t>>& chunks, const SoundTable& table,
                              const std::vector<SoundReplacement>& replacements);
