// A fresh folder per test, removed afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // UTF-8 path of a file in the folder.
  std::string File(const std::string& name) const;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The bytes of the file at a UTF-8 path; none if it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
