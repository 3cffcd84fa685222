// The digitized sounds a page file holds after its sprites: the header word
// at offset 4 is the first sound chunk ("sound start"); the file's last chunk
// is the sound table, one pair of 16-bit words per sound (first page counted
// from sound start, length in bytes). A sound's samples fill its pages in
// order, 4096 bytes to every page but the last; they are 8-bit unsigned mono
// PCM, played at 7042 Hz.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pagefile/sections.h"
#include "pagefile/wlfile.h"

constexpr uint32_t SoundPageBytes = 4096;
constexpr uint32_t SoundRate = 7042;

struct SoundEntry {
  uint32_t Number = 0;      // from 1, the entry's place in the table
  uint32_t FirstChunk = 0;  // chunk index in the file: sound start + first page
  uint32_t ChunkCount = 0;
  uint32_t Bytes = 0;
  // Every page is an absent chunk (length 0): the sound was left out of
  // this release, as the shareware files leave out what they do not use.
  bool Absent = false;
};

struct SoundTable {
  uint32_t TableChunk = 0;  // the file's last chunk
  uint32_t SoundStart = 0;
  uint32_t Entries = 0;            // entries the table holds, good or bad
  std::vector<SoundEntry> Sounds;  // the good entries, present or absent, in table order
  // One sentence per bad entry, or one for a table that is missing or has no
  // place in the file; empty when every entry fits.
  std::vector<std::string> Problems;

  size_t AbsentCount() const;
};

// Chunks a sound of `bytes` samples fills.
uint32_t SoundChunks(uint32_t bytes);

// Reads and checks the sound table of a loaded file whose sound pages and
// table lie where `sections` says. A good entry's pages all lie between
// sound start and the table, within the file, and hold its length: 4096
// bytes in every page but the last, the rest in the last; or they are all
// absent. A table that is absent or lies past the end of the file is a
// problem.
SoundTable ReadSoundTable(const RWlFile& file, const GameSections& sections);

// The samples of a good entry of `file`'s table that is present, read from
// its pages.
std::vector<uint8_t> SoundSamples(const RWlFile& file, const SoundEntry& sound);

// "007": a sound's number as messages and file names give it.
std::string SoundNumber(uint32_t number);
// "sound 007": how the sounds are named in messages.
std::string SoundName(uint32_t number);

// Duration at the game's rate, as "1.234" (seconds, to the millisecond).
std::string SoundSeconds(uint32_t bytes);
