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

struct ChunkSlot {
  uint16_t Size = 0;
  // An empty chunk whose offset is 0 in the original keeps offset 0; other
  // empty chunks get the position where the next chunk would start.
  bool ZeroOffsetWhenEmpty = false;
};

// Where each chunk goes: after the header (6 bytes), the offset table and
// the length table, each chunk at the next multiple of 512 bytes after the
// previous chunk's end. The file ends where the last chunk ends.
struct PagePlan {
  std::vector<uint32_t> Offsets;
  uint64_t Size = 0;
};

// Empty when there are more than 65535 chunks or a chunk would start beyond
// what a 32-bit offset reaches. Costs no memory for the chunks themselves,
// so a table of huge chunks can be refused before anything is allocated.
std::optional<PagePlan> PlanPageFile(std::span<const ChunkSlot> chunks);

// The planned file with its header (the chunk count, then `words`' other two
// words) and tables written, and zero bytes everywhere else for the caller
// to copy each chunk's bytes over at its offset.
std::vector<uint8_t> StartPageFile(const HeaderWords& words, std::span<const ChunkSlot> chunks,
                                   const PagePlan& plan);
