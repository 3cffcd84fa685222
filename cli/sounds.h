// The digitized sounds on the command line: the `sounds` listing, and the
// WAV files that `export --sounds` writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "pagefile/sections.h"
#include "pagefile/wlfile.h"

// The listing of `sounds FILE`: one line per good entry of the sound table
// as `sections` places it (number, first chunk, chunk count, bytes, seconds
// at 7042 Hz, and "absent" for a sound whose pages are all absent), a
// message on stderr per bad one. Returns the number of bad entries, or 1
// for a table that is missing.
size_t ListSounds(const RWlFile& file, const GameSections& sections);

struct SoundExport {
  size_t Written = 0;
  size_t BadEntries = 0;  // reported on stderr; the good ones are written
  std::string Error;      // a file that could not be written; none after it was tried
};

// Writes sound-NNN.wav into `dir` for every good entry of the table of
// `file`, as `sections` places it, that is present.
SoundExport ExportSounds(const RWlFile& file, const GameSections& sections, const std::filesystem::path& dir);
