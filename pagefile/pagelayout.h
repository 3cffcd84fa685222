// The page file as the game's own files are laid out, and the header words
// that the loader skips.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The three words at the start of a page file: the chunk count, then the
// index of the first sprite chunk and of the first sound chunk. Sections are
// fixed by index alone (see SectionOf), so only writers need the last two.
struct HeaderWords {
  uint16_t ChunkCount = 0;
  uint16_t SpriteStart = 0;
  uint16_t SoundStart = 0;
};

// The first 6 bytes of the file at `path` (UTF-8); words the file does not
// hold, or all of them when it cannot be opened, read as 0.
HeaderWords ReadHeaderWords(const std::string& path);

struct LaidOutChunk {
  std::span<const uint8_t> Bytes;  // at most 65535
  // An empty chunk whose offset is 0 in the original keeps offset 0; other
  // empty chunks get the position where the next chunk would start.
  bool ZeroOffsetWhenEmpty = false;
};

// The file's bytes: the header (the chunk count, then `words`' other two
// words), the offset table, the length table, and each chunk at the next
// multiple of 512 bytes after the previous chunk's end (the first after the
// tables), with zero bytes between them. The file ends where the last chunk
// ends. Empty when there are more than 65535 chunks, a chunk is longer than
// 65535 bytes, or a chunk would start beyond what a 32-bit offset reaches.
std::optional<std::vector<uint8_t>> LayOutPageFile(const HeaderWords& words,
                                                   std::span<const LaidOutChunk> chunks);
