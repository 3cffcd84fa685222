#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "base/fileops.h"

namespace {

bool WriteAll(int fd, std::span<const uint8_t> bytes, std::string& reason) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      reason = std::strerror(put < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

// Gives the unnamed file `fd` the name `to`: straight from the descriptor,
// which takes the right to reach any file by its descriptor (root has it),
// or else through the descriptor's name under /proc. 0, or the error of
// the last try.
int LinkIn(int fd, const std::filesystem::path& to) {
  if (::linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  const std::string named = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, named.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

}  // namespace

WriteResult WriteNamedFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                           std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    reason = std::strerror(errno);
    return WriteResult::CannotCreate;
  }
  bool written = WriteAll(fd, bytes, reason);
  if (::close(fd) != 0 && written) {
    reason = std::strerror(errno);
    written = false;
  }
  return written ? WriteResult::Written : WriteResult::CannotWrite;
}

WriteResult WriteUnnamedThenLink(const std::filesystem::path& path, const std::filesystem::path& temporary,
                                 std::span<const uint8_t> bytes, std::string& reason) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // How kernels and file systems without unnamed files answer.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return WriteResult::NoUnnamedFiles;
    reason = std::strerror(errno);
    return WriteResult::CannotCreate;
  }
  if (!WriteAll(fd, bytes, reason)) {
    ::close(fd);
    return WriteResult::CannotWrite;
  }
  int linked = LinkIn(fd, path);
  if (linked == EEXIST) {
    linked = LinkIn(fd, temporary);
    if (linked == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
      reason = std::strerror(errno);
      ::unlink(temporary.c_str());
      ::close(fd);
      return WriteResult::CannotWrite;
    }
  }
  ::close(fd);
  // A file that cannot be linked in (no /proc, and not root) is written
  // again under a name.
  return linked == 0 ? WriteResult::Written : WriteResult::NoUnnamedFiles;
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

bool ProcessIsGone(uint32_t id) {
  // 0 and numbers past INT_MAX would name process groups, not a process.
  if (id == 0 || id > INT_MAX) return false;
  return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}
