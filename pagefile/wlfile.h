// The open VSWAP page file: its chunk table with an in-memory copy of every
// chunk, and the statistics of the three fixed sections.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/bytevector.h"
#include "base/streams.h"

enum class SectionKind { Texture, Sprite, Unknown };

constexpr uint32_t TextureChunks = 106;
constexpr uint32_t SpriteChunks = 435;

// Sections are fixed by chunk index alone, never by the file's header words.
SectionKind SectionOf(uint32_t index);
// The element number of chunk `index` in its section, from 1, as the tree
// counts.
uint32_t ElementNumber(uint32_t index);

// The program's plain records (RWlFile, RWlChunk, and the viewer's
// RMainWindow) carry an R in front of their names, which sets them apart
// from the routines and globals that work on them: RWlFile is the record,
// WlFile the viewer's one open file, LoadPageFile what fills it.
struct RWlChunk {
  std::unique_ptr<Bitmap> Image;  // decoded element; empty until first shown
  // Exactly Size bytes: a view into the file's Bytes, where bytes beyond
  // the file's end read as 0.
  ByteView Data;
  uint32_t Offset = 0;
  uint16_t Size = 0;
  uint16_t Colors = 0;  // distinct palette indices of the decoded image
};

// The three words at the start of a page file: the chunk count, then the
// index of the first sprite chunk and of the first sound chunk, as the file
// says them. The viewer's sections ignore the last two (see SectionOf); the
// game's follow them (see pagefile/sections.h).
struct HeaderWords {
  uint16_t ChunkCount = 0;
  uint16_t SpriteStart = 0;
  uint16_t SoundStart = 0;
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
  // The whole file, read once: every chunk's Data points into it, so chunks
  // that overlap share their bytes, and what lies between and after the
  // chunks is at hand for a writer that keeps it.
  ByteVector Bytes;
  // Words the file does not hold read as 0.
  HeaderWords Header;
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

// Replaces `file` with the page file that `in` holds, named `name`. Nothing
// is validated: a stream shorter than its 2-byte count gives an empty table;
// directory fields the stream does not hold read as 0; chunk bytes beyond its
// end read as 0. The observer, if any, sees the new table.
void LoadPageFile(RWlFile& file, Stream& in, const std::string& name, LoadObserver* observer = nullptr);
// The same for the file at `path`, opened once. One that cannot be opened
// (a missing file, a folder, a pipe, a device) gives an empty table and
// false, with the reason in `error`.
bool LoadPageFile(RWlFile& file, const std::string& path, std::string& error,
                  LoadObserver* observer = nullptr);

// Releases every entry's image and data and empties the table; the name,
// size and statistics keep their values.
void FreeWlFile(RWlFile& file);
