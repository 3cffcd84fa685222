// The command-line tool's files. Outputs appear whole or not at all: each
// file is written without a name in its own folder (under a temporary name
// where the system has no unnamed files) and put in place under its final
// name only when every byte is written, so a full disk, a crash or a kill
// never leaves half a file, and on Linux no file at all. Inputs are only
// read, only when they are regular files, and only up to a size fitting
// what they hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// A path from a UTF-8 string, whatever the platform's own encoding.
std::filesystem::path Utf8Path(const std::string& path);
std::string PathText(const std::filesystem::path& path);

// Writes `bytes` to `path` through a temporary file beside it. On failure
// nothing new is left behind (an existing file at `path` is kept as it was)
// and `error` names the file and gives the system's reason. Temporary files
// that killed runs of the tool left in the folder are removed first.
bool WriteFileWhole(const std::filesystem::path& path, std::span<const uint8_t> bytes, std::string& error);

// Reads the whole file at `path` into `bytes` unless it holds more than
// `limit` bytes, which is too many for `what` (say so in `error`). A path
// that names no regular file (a folder, a pipe, a device) is refused
// unread; `error` names the path and gives the reason.
bool ReadFileWhole(const std::filesystem::path& path, uintmax_t limit, const std::string& what,
                   std::vector<uint8_t>& bytes, std::string& error);
