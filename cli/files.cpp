#include "cli/files.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>

#include "base/decimal.h"
#include "base/fileops.h"
#include "base/streams.h"

std::filesystem::path Utf8Path(const std::string& path) { return std::u8string(path.begin(), path.end()); }

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

namespace {

constexpr char kTemporaryMark[] = ".tmp-";

// A name no other writer of this process or of another one picks: the
// final name, the process and a counter, hidden on systems that hide dot
// files.
std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::string name = ".";
  name += PathText(path.filename());
  name += kTemporaryMark;
  name += std::to_string(CurrentProcessId());
  name += '-';
  name += std::to_string(counter++);
  return path.parent_path() / Utf8Path(name);
}

// The process of a name that TemporaryBeside made, or nothing for any other
// name.
std::optional<uint32_t> TemporaryOf(const std::string& name) {
  const size_t mark = name.rfind(kTemporaryMark);
  if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) return std::nullopt;
  const std::string numbers = name.substr(mark + sizeof kTemporaryMark - 1);
  const size_t dash = numbers.find('-');
  if (dash == std::string::npos) return std::nullopt;
  const std::optional<uint64_t> process = ParseDecimal(std::string_view(numbers).substr(0, dash), 10);
  if (!process || *process > UINT32_MAX || !ParseDecimal(std::string_view(numbers).substr(dash + 1), 10))
    return std::nullopt;
  return static_cast<uint32_t>(*process);
}

// Where the system has no unnamed files, a run that is killed leaves its
// temporary file behind. The next run that writes into the folder removes
// those whose process is gone, once per folder: never a file another
// running process is still writing, and never a name of another pattern.
void RemoveLeftovers(const std::filesystem::path& folder) {
  static std::mutex mutex;
  static std::set<std::filesystem::path> done;
  {
    const std::lock_guard<std::mutex> lock(mutex);
    if (!done.insert(folder).second) return;
  }
  const uint32_t self = CurrentProcessId();
  std::error_code error;
  const std::filesystem::path where = folder.empty() ? "." : folder;
  for (std::filesystem::directory_iterator it(where, error), end; !error && it != end; it.increment(error)) {
    const std::optional<uint32_t> process = TemporaryOf(PathText(it->path().filename()));
    std::error_code ignored;
    if (process && *process != self &&
        it->symlink_status(ignored).type() == std::filesystem::file_type::regular && ProcessIsGone(*process))
      std::filesystem::remove(it->path(), ignored);
  }
}

}  // namespace

bool WriteFileWhole(const std::filesystem::path& path, std::span<const uint8_t> bytes, std::string& error) {
  RemoveLeftovers(path.parent_path());
  const std::filesystem::path temporary = TemporaryBeside(path);
  std::string reason;
  WriteResult result = WriteUnnamedThenLink(path, temporary, bytes, reason);
  if (result == WriteResult::NoUnnamedFiles) {
    result = WriteNamedFile(temporary, bytes, reason);
    std::error_code renamed;
    if (result == WriteResult::Written) std::filesystem::rename(temporary, path, renamed);
    if (renamed) {
      result = WriteResult::CannotWrite;
      reason = renamed.message();
    }
    std::error_code ignored;
    if (result != WriteResult::Written) std::filesystem::remove(temporary, ignored);
  }
  if (result == WriteResult::Written) return true;
  error = (result == WriteResult::CannotCreate ? "cannot create '" : "cannot write '") + PathText(path) +
          "': " + reason;
  return false;
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
