// pack: a new page file from a base page file and pictures edited outside
// the program. The base is only read; the new file appears whole or not at
// all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PackRequest {
  std::string Dir;   // the pictures, named as `export` names them
  std::string Out;   // the new page file
  std::string Base;  // the page file whose chunks are kept
  bool Nearest = false;
};

struct PackResult {
  bool Written = false;
  std::vector<std::string> Replaced;  // one line per replaced element
  std::vector<std::string> Warnings;
  std::vector<std::string> Errors;  // every problem found; nothing is written when there is one
  size_t ReplacedCount = 0;
  size_t CopiedCount = 0;
  uint64_t Bytes = 0;  // of the new file
};

// Checks OUT against the base before reading anything, reads and checks
// every picture, and only then writes OUT.
PackResult Pack(const PackRequest& request);
