// The export command's work: every texture and sprite of a loaded page file
// written as picture files into a folder, in the form the options choose.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imaging/palettefile.h"
#include "pagefile/sections.h"
#include "pagefile/soundtable.h"
#include "pagefile/wlfile.h"

struct ExportOptions {
  enum class Pictures {
    Bmp,     // the element bitmaps as the viewer shows them
    Png,     // the same pictures as palettised PNG files
    Framed,  // 64 x 64 palettised PNG files with the holes transparent
  };
  Pictures Form = Pictures::Bmp;
  bool Sheets = false;  // also textures.png and sprites.png, a contact sheet each
};

// Reads the options that follow FILE and DIR. Returns false, with the reason
// in `error`, for an unknown option or two that contradict each other.
bool ParseExportOptions(const std::vector<std::string>& options, ExportOptions& out, std::string& error);

struct ExportReport {
  size_t Written = 0;  // files written whole
  size_t Skipped = 0;  // pictures without a form in the chosen format, not written
  // Absent chunks (length 0), and chunks that lie wholly past the end of a
  // damaged file, of the texture and the sprite section: no file is
  // written for them.
  size_t AbsentTextures = 0;
  size_t AbsentSprites = 0;
  size_t PastEndTextures = 0;
  size_t PastEndSprites = 0;
};

// Writes the textures and sprites of `file`, as `sections` divides it, into
// the existing folder `dir`, each file whole or not at all, in `palette`'s
// colours: texture-NNN with NNN = chunk + 1, sprite-NNN counted from the
// first sprite chunk. An absent chunk gets no file, nor does one that the
// file does not hold at all; on a sheet their cells stay, empty. `note` hears about single pictures (one
// skipped, one written in another form). Stops at the first file that cannot be written and returns false
// with the reason in `error`.
bool ExportElements(const RWlFile& file, const GameSections& sections, const Palette& palette,
                    const std::filesystem::path& dir, const ExportOptions& options, ExportReport& report,
                    std::string& error, const std::function<void(const std::string&)>& note);

// Writes sound-NNN.wav, 8-bit unsigned mono at 7042 Hz, into `dir` for every
// good entry of `table`, the sound table of `file`, that is present. Stops at
// the first file that cannot be written and returns false with the reason in
// `error`; `written` counts the files written whole.
bool ExportSounds(const RWlFile& file, const SoundTable& table, const std::filesystem::path& dir,
                  size_t& written, std::string& error);
