// Whole numbers as file names and arguments write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The number that `text` writes in decimal digits alone; nothing for an empty
// text, any other character, or more than `most` digits (at most 19).
inline std::optional<uint64_t> ParseDecimal(std::string_view text, size_t most) {
  if (text.empty() || text.size() > most) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}
