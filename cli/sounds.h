// The digitized sounds on the command line: the `sounds` listing, and the
// WAV files that `export --sounds` writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "pagefile/wlfile.h"

// `sounds FILE`: one line per good entry of the sound table, a message on
// stderr per bad one. Exits 0 when every entry is good (an empty table
// included), 1 when the table is missing or any entry does not fit, 2 on
// wrong use.
int ListSounds(const std::vector<std::string>& args);

struct SoundExport {
  size_t Written = 0;
  size_t BadEntries = 0;  // reported on stderr; the good ones are written
  std::string Error;      // a file that could not be written; none after it was tried
};

// Writes sound-NNN.wav into `dir` for every good entry of the table of
// `file`, loaded from file.FileName.
SoundExport ExportSounds(const RWlFile& file, const std::filesystem::path& dir);
