#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/streams.h"

namespace {

// What a path names that is not a regular file.
const char* NotAFile(mode_t mode) {
  if (S_ISDIR(mode)) return "it is a folder, not a file";
  if (S_ISFIFO(mode)) return "it is a pipe (FIFO), not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  return "it is not a regular file";
}

}  // namespace

FileStream::FileStream(const std::string& path) : handle_(-1) {
  // The type is looked at before the file is opened, since opening a pipe
  // or a device may wait or do something; O_NONBLOCK keeps a pipe put in
  // the file's place in the meantime from holding up the open.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    problem_ = std::strerror(errno);
    return;
  }
  if (!S_ISREG(info.st_mode)) {
    problem_ = NotAFile(info.st_mode);
    return;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    problem_ = std::strerror(errno);
    return;
  }
  const bool known = ::fstat(fd, &info) == 0;
  if (!known || !S_ISREG(info.st_mode)) {
    problem_ = known ? NotAFile(info.st_mode) : std::strerror(errno);
    ::close(fd);
    return;
  }
  handle_ = fd;
  size_ = info.st_size;
}

FileStream::~FileStream() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileStream::IsOpen() const { return handle_ >= 0; }

size_t FileStream::Read(void* dst, size_t count) {
  if (handle_ < 0) return 0;
  auto* out = static_cast<char*>(dst);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(static_cast<int>(handle_), out + done, count - done,
                                static_cast<off_t>(position_ + static_cast<int64_t>(done)));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) problem_ = std::strerror(errno);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  position_ += static_cast<int64_t>(done);
  return done;
}
