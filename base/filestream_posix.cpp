#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/streams.h"

FileStream::FileStream(const std::string& path) : handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  struct stat info {};
  if (handle_ >= 0 && ::fstat(static_cast<int>(handle_), &info) == 0 && S_ISREG(info.st_mode)) {
    size_ = info.st_size;
  } else if (handle_ >= 0) {
    // Directories and devices are not page files.
    ::close(static_cast<int>(handle_));
    handle_ = -1;
  }
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
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  position_ += static_cast<int64_t>(done);
  return done;
}
