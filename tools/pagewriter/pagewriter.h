// A page-file writer for tests, fuzz seeds, benchmarks and the bundled
// sample: any chunk count, header words, contents, lengths and offsets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PageChunk {
  std::vector<uint8_t> Bytes;
  // Directory overrides; by default the entry points at Bytes as written.
  std::optional<uint32_t> Offset;
  std::optional<uint16_t> Size;
  // Filler bytes (0xEE) written before the chunk, as a gap where an
  // edited chunk used to be.
  uint32_t Gap = 0;
};

struct PageFileLayout {
  uint16_t FirstSprite = 0;  // header word at 2
  uint16_t FirstSound = 0;   // header word at 4
  std::vector<PageChunk> Chunks;
  // Declared chunk count; by default the number of chunks.
  std::optional<uint16_t> Count;
  // Lays the chunks out as the game's files are: each at the next multiple
  // of this many bytes, zeros between them, and empty chunks at offset 0.
  std::optional<uint32_t> Align;
  // After the last chunk: these bytes, then zeros up to a multiple of
  // PadTo, if given.
  std::vector<uint8_t> Trailing;
  std::optional<uint32_t> PadTo;
  // Cut the file after this many bytes.
  std::optional<size_t> TruncateAt;
};

// The file's bytes: header, offsets, lengths, then every chunk's bytes in
// order, after its gap and aligned if asked (the directory says where,
// unless overridden), then the trailing bytes and padding.
std::vector<uint8_t> BuildPageFile(const PageFileLayout& layout);
bool WritePageFile(const std::string& path, const PageFileLayout& layout);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A 64 x 64 picture of palette indices, [x][y] with y = 0 the top row;
// -1 is a transparent pixel.
using SpritePicture = std::array<std::array<int16_t, 64>, 64>;
using TexturePicture = std::array<std::array<uint8_t, 64>, 64>;

// A sprite with nothing drawn: every pixel -1.
SpritePicture BlankSprite();

// Column after column, as a texture chunk stores it.
std::vector<uint8_t> EncodeTexture(const TexturePicture& picture);
// Sprite chunk as the game lays it out (see imaging/spriteencoder.h).
std::vector<uint8_t> EncodeSprite(const SpritePicture& picture);

// A sound table entry appended to `table`: the sound's first page (counted
// from the first sound chunk) and its length in bytes.
void AddSoundEntry(std::vector<uint8_t>& table, uint16_t page, uint16_t bytes);
// After the chunks `layout` has, from its first sound chunk on, the pages of
// sounds of these lengths (4096 bytes each, the last holding the rest),
// then their table as the last chunk (lengths as 16 bits). Sample k of sound
// s is (s + k) % 251.
void AddSounds(PageFileLayout& layout, const std::vector<uint32_t>& lengths);

// Sprite chunk from explicit parts, for malformed layouts and the ways
// other tools lay sprites out: the words first and last, the column
// offsets, the pool as raw bytes, then each column's run list. A run's
// pixel of row r is the chunk byte at Source + r (mod 65536).
struct RawRun {
  uint16_t EndTimes2;
  uint16_t Source;
  uint16_t StartTimes2;
};
std::vector<uint8_t> EncodeSpriteRuns(uint16_t first, uint16_t last,
                                      const std::vector<std::vector<RawRun>>& columns,
                                      const std::vector<uint8_t>& pool);
