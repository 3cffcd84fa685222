// The sound files that `pack` puts in place of the base's sounds:
// sound-NNN.EXT in any format libsndfile reads, turned
// into the game's form and slotted into the new file's chunk list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pagefile/soundsection.h"
#include "pagefile/wlfile.h"

struct SoundFiles {
  std::vector<SoundReplacement> Sounds;  // in the game's form, by number
  std::vector<std::string> Names;        // the file each came from
};

// Reads every sound-NNN.EXT of `dir` and converts it to the game's form;
// what cannot be read, is longer than the table can hold, or names a sound
// another file names too goes to `errors` with the file's name. A build
// without libsndfile reports every such file.
SoundFiles ReadSoundFiles(const std::filesystem::path& dir, std::vector<std::string>& errors);

// Puts `files` in place of their sounds in `chunks`, pack's list of the new
// file's chunks (one per chunk of `base`, in order, each a copy of its base
// chunk or new bytes): the sound section and the table (the last chunk)
// change, the chunks after the replaced pages move. New pages view `files`,
// the new table `table`; both must outlive `chunks`. Says what was replaced
// in `lines` and returns how many base chunks gave way; on errors `chunks`
// stays as it was.
size_t PlaceSounds(const RWlFile& base, uint16_t soundStart, const SoundFiles& files,
                   std::vector<NewChunk>& chunks, std::vector<uint8_t>& table,
                   std::vector<std::string>& lines, std::vector<std::string>& errors);
