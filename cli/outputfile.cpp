#include "cli/outputfile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "base/streams.h"

#ifdef _WIN32
#include <process.h>
#define TESSARINE_PID _getpid()
#else
#include <unistd.h>
#define TESSARINE_PID ::getpid()
#endif

std::filesystem::path Utf8Path(const std::string& path) { return std::u8string(path.begin(), path.end()); }

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

namespace {

// A name no other writer of this process or of another one picks: the
// final name, the process and a counter, hidden on systems that hide dot
// files.
std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::string name = ".";
  name += PathText(path.filename());
  name += ".tmp-";
  name += std::to_string(TESSARINE_PID);
  name += '-';
  name += std::to_string(counter++);
  return path.parent_path() / Utf8Path(name);
}

}  // namespace

bool WriteFileWhole(const std::filesystem::path& path, std::span<const uint8_t> bytes, std::string& error) {
  const std::filesystem::path temporary = TemporaryBeside(path);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = "cannot create '" + PathText(temporary) + "': " + std::strerror(errno);
      return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      error = "cannot write '" + PathText(path) + "' (is the disk full?)";
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, path, renamed);
  if (renamed) {
    error = "cannot write '" + PathText(path) + "': " + renamed.message();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

bool ReadFileWhole(const std::filesystem::path& path, uintmax_t limit, const std::string& what,
                   std::vector<uint8_t>& bytes, std::string& error) {
  FileStream in(PathText(path));
  if (!in.IsOpen()) {
    error = "cannot open '" + PathText(path) + "': " + in.Problem();
    return false;
  }
  const auto size = static_cast<uintmax_t>(in.Size());
  if (size > limit) {
    error = "the file has " + std::to_string(size) + " bytes, too many for " + what;
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  const size_t got = in.Read(bytes.data(), bytes.size());
  if (got != bytes.size()) {
    error = "cannot read '" + PathText(path) + "': " +
            (in.Problem().empty()
                 ? "it ends after " + std::to_string(got) + " of its " + std::to_string(size) + " bytes"
                 : in.Problem());
    return false;
  }
  return true;
}
