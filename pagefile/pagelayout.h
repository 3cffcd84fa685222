// How a page file lays its chunks out, and new page files assembled from a
// base file so that they keep its layout wherever nothing forces a change.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pagefile/wlfile.h"

// Chunks of the game's own files start at multiples of this.
constexpr uint32_t PageAlignment = 512;

struct PageLayout {
  uint64_t DirectoryEnd = 0;  // 6 bytes of header, then 6 per chunk
  uint32_t Present = 0;       // chunks whose length is not 0
  // Every present chunk starts at a multiple of PageAlignment.
  bool Aligned = true;
  // The present chunks, in the order of their offsets, start right after
  // the directory and each where the one before ends.
  bool BackToBack = true;
  // Where the last present chunk ends (the directory's end when none is),
  // and what the file holds after it: zeros up to a multiple of
  // PageAlignment, as the game's own files end, or anything else.
  uint64_t LastEnd = 0;
  uint64_t Trailing = 0;
  bool ZeroPadding = false;
  // Chunks that lie wholly or partly past the end of the file, in index order.
  std::vector<uint32_t> PastEnd;
  // Directory entries the file does not hold whole, at the end of the table.
  uint32_t EntriesMissing = 0;
};

PageLayout ReadPageLayout(const RWlFile& file);

// A chunk of a new file: a copy of a base chunk, or new bytes.
struct NewChunk {
  static constexpr uint32_t kNew = 0xFFFFFFFF;
  uint32_t Base = kNew;            // the base chunk it copies, or kNew
  std::span<const uint8_t> Bytes;  // when new: a view into bytes the caller keeps
};

// The new file whose chunks are `chunks`, with the base's header words, laid
// out after `base` (loaded whole):
// - When the chunk list is the base's own, some chunks with new bytes of
//   their old lengths, every chunk keeps its offset and every other byte of
//   the base stays as it was: gaps, padding, trailing bytes.
// - Otherwise the chunks before the first that grows, shrinks, appears,
//   disappears or moves keep their places (and the bytes between them); the
//   rest follow in order, each at the next multiple of 512 when every present
//   chunk of the base starts at one, else back to back. An absent chunk
//   (length 0) keeps the offset it has in the base. The base's bytes after
//   its last chunk follow the new last chunk: zero padding to a multiple of
//   512 is redone, other trailing bytes are kept as they were.
// Bytes of base chunks that the base does not hold are copied as zeros, as
// the loader reads them. Returns false, with the reason, for a file that a
// page file cannot be: more than 65535 chunks, an offset past 4 GiB, or a
// base too damaged to copy (more missing bytes than the file holds).
bool AssemblePageFile(const RWlFile& base, std::span<const NewChunk> chunks, std::vector<uint8_t>& out,
                      std::string& error);
