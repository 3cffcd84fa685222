// The sound files that `pack` puts in place of the base's sounds:
// sound-NNN.EXT in any format libsndfile reads, turned
// into the game's form and slotted into the new file's chunk list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pagefile/pagelayout.h"
#include "pagefile/soundreplace.h"
#include "pagefile/soundtable.h"
#include "pagefile/wlfile.h"

struct SoundFiles {
  std::vector<SoundReplacement> Sounds;  // in the game's form, by number
  std::vector<std::string> Names;        // the file each came from
};

// Reads every sound-NNN.EXT of `dir` and converts it to the game's form;
// what cannot be read, is longer than the table can hold, or names a sound
// another file names too goes to `errors` with the file's name.
SoundFiles ReadSoundFiles(const std::filesystem::path& dir, std::vector<std::string>& errors);

// Takes out of `files` the sounds that hold exactly the samples of the
// base's present sound of their number, and returns how many: pack keeps
// the base's pages for them.
size_t DropUnchangedSounds(const RWlFile& base, const SoundTable& table, SoundFiles& files);

// Puts `files` in place of their sounds in `chunks`, pack's list of the new
// file's chunks (one per chunk of `base`, in order, each a copy of its base
// chunk or new bytes), where `table` is the base's sound table: the sound
// section and the table (the last chunk) change, the chunks after the
// replaced pages move. An absent sound may be replaced; its pages become
// present. New pages view `files`, the new table `newTable`; both must
// outlive `chunks`. Says what was replaced in `lines`; on errors `chunks`
// stays as it was.
void PlaceSounds(const RWlFile& base, const SoundTable& table, const SoundFiles& files,
                 std::vector<NewChunk>& chunks, std::vector<uint8_t>& newTable,
                 std::vector<std::string>& lines, std::vector<std::string>& errors);
