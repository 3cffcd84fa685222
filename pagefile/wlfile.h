// The open VSWAP page file: its chunk table with an in-memory copy of every
// chunk, and the statistics of the three fixed sections.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/streams.h"

enum class SectionKind { Texture, Sprite, Unknown };

constexpr uint32_t TextureChunks = 106;
constexpr uint32_t SpriteChunks = 435;

// Sections are fixed by chunk index alone, never by the file's header words.
SectionKind SectionOf(uint32_t index);

struct RWlChunk {
  std::unique_ptr<Bitmap> Image;  // decoded element; empty until first shown
  std::unique_ptr<Stream> Data;   // exactly Size bytes of the chunk
  uint16_t Size = 0;
  uint32_t Offset = 0;
  uint16_t Colors = 0;  // distinct palette indices of the decoded image
};

struct RWlFile {
  std::string FileName;  // the path as given, UTF-8
  // Byte counts are 64-bit: a large file, or an unknown section of tens of
  // thousands of long chunks, would wrap a 32-bit total to a negative number.
  int64_t FileSize = 0;
  std::vector<RWlChunk> Chunks;
  uint16_t TextureCount = 0;
  uint16_t SpriteCount = 0;
  uint16_t UnknownCount = 0;
  int64_t TextureBytes = 0;
  int64_t SpriteBytes = 0;
  int64_t UnknownBytes = 0;
};

// Whoever mirrors the table while it is loaded (the element tree) listens here.
class LoadObserver {
 public:
  virtual ~LoadObserver() = default;
  // The directory has been read; the table has its final length.
  virtual void DirectoryRead(const RWlFile& file) = 0;
  // Chunk `index` was counted as element `number` (from 1) of its section.
  virtual void ChunkCounted(const RWlFile& file, uint32_t index, SectionKind section, uint32_t number) = 0;
};

// Replaces `file` with the page file at `path`. Nothing is validated: a path
// that cannot be opened, or a file shorter than its 2-byte count, gives an
// empty table; directory fields the file does not hold read as 0; chunk bytes
// beyond the file's end read as 0. The observer, if any, sees the new table.
void LoadPageFile(RWlFile& file, const std::string& path, LoadObserver* observer = nullptr);

// Releases every entry's image and data and empties the table; the name,
// size and statistics keep their values.
void FreeWlFile(RWlFile& file);
