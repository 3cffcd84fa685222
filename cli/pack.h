// pack: a new page file from a base page file and pictures and sounds edited
// outside the program. The base is only read; the new file appears whole or
// not at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/palettefile.h"

struct PackRequest {
  std::string Dir;   // the pictures and sounds, named as `export` names them
  std::string Out;   // the new page file
  std::string Base;  // the page file whose chunks are kept
  bool Nearest = false;
  Palette Colors = BuiltInPalette();  // what the pictures' colours are matched against
};

struct PackResult {
  bool Written = false;
  std::vector<std::string> Replaced;  // one line per replaced element
  std::vector<std::string> Warnings;
  std::vector<std::string> Errors;  // every problem found; nothing is written when there is one
  size_t ReplacedCount = 0;         // pictures and sounds that bring new bytes
  size_t UnchangedCount = 0;        // files of DIR that hold what the base holds already
  size_t CopiedCount = 0;           // base chunks in the new file
  uint64_t Bytes = 0;               // of the new file
};

// Checks OUT against the base before reading anything, reads and checks
// every picture and sound, and only then writes OUT. The base's sections are
// the game's, from its header words. A file of DIR that holds what the base
// holds keeps the base's bytes; an edited picture changes only the pixel
// bytes of its chunk when that draws it, and is encoded anew otherwise. The
// new file keeps the base's layout wherever nothing forces a change (see
// AssemblePageFile).
PackResult Pack(const PackRequest& request);
