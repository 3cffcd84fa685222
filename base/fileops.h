// What writing files whole needs of the system: a file written under a
// name, a file written without one and linked in when complete, and
// whether the process that left a temporary file behind still runs. The
// halves are fileops_posix.cpp and fileops_win.cpp.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

enum class WriteResult {
  Written,
  CannotCreate,
  CannotWrite,
  NoUnnamedFiles,  // the system or the folder's file system has no unnamed files
};

// Creates `path`, or empties the file there, and writes `bytes` to it. On
// failure the file may hold part of them; `reason` is the system's.
WriteResult WriteNamedFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                           std::string& reason);

// Writes `bytes` to a file of no name in the folder of `path`, which no
// one sees and which vanishes if anything goes wrong, even a kill, and
// links it in as `path` once it is complete. An existing file at `path` is
// replaced through `temporary`: the new file is linked there and renamed
// over `path`, so that `path` holds the old file or the new one and never
// part of one. NoUnnamedFiles leaves it to the caller to write under
// `temporary` itself.
WriteResult WriteUnnamedThenLink(const std::filesystem::path& path, const std::filesystem::path& temporary,
                                 std::span<const uint8_t> bytes, std::string& reason);

uint32_t CurrentProcessId();

// True only when no process with this number runs; false when one does,
// or when the system cannot tell.
bool ProcessIsGone(uint32_t id);
