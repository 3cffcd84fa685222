#include <windows.h>

#include <algorithm>

#include "base/streams.h"
#include "base/unicode_win.h"

namespace {
HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

FileStream::FileStream(const std::string& path)
    : handle_(
          reinterpret_cast<intptr_t>(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {
  LARGE_INTEGER size{};
  if (IsOpen() && GetFileSizeEx(AsHandle(handle_), &size)) size_ = size.QuadPart;
}

FileStream::~FileStream() {
  if (IsOpen()) CloseHandle(AsHandle(handle_));
}

bool FileStream::IsOpen() const { return AsHandle(handle_) != INVALID_HANDLE_VALUE; }

size_t FileStream::Read(void* dst, size_t count) {
  if (!IsOpen()) return 0;
  LARGE_INTEGER at{};
  at.QuadPart = position_;
  if (!SetFilePointerEx(AsHandle(handle_), at, nullptr, FILE_BEGIN)) return 0;
  auto* out = static_cast<char*>(dst);
  size_t done = 0;
  while (done < count) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), out + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  position_ += static_cast<int64_t>(done);
  return done;
}
