#include <windows.h>

#include <algorithm>

#include "base/streams.h"
#include "base/unicode_win.h"

namespace {
HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

FileStream::FileStream(const std::string& path) : handle_(reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE)) {
  const std::wstring wide = Widen(path);
  // A folder does not open as a file at all, and would only be refused
  // with "access denied".
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    problem_ = "it is a folder, not a file";
    return;
  }
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    problem_ = SystemMessage(GetLastError());
    return;
  }
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK) {
    problem_ = "it is a device or a pipe, not a file";
  } else if (!GetFileSizeEx(file, &size)) {
    problem_ = SystemMessage(GetLastError());
  } else {
    handle_ = reinterpret_cast<intptr_t>(file);
    size_ = size.QuadPart;
    return;
  }
  CloseHandle(file);
}

FileStream::~FileStream() {
  if (IsOpen()) CloseHandle(AsHandle(handle_));
}

bool FileStream::IsOpen() const { return AsHandle(handle_) != INVALID_HANDLE_VALUE; }

size_t FileStream::Read(void* dst, size_t count) {
  if (!IsOpen()) return 0;
  LARGE_INTEGER at{};
  at.QuadPart = position_;
  if (!SetFilePointerEx(AsHandle(handle_), at, nullptr, FILE_BEGIN)) {
    problem_ = SystemMessage(GetLastError());
    return 0;
  }
  auto* out = static_cast<char*>(dst);
  size_t done = 0;
  while (done < count) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), out + done, want, &got, nullptr))
      problem_ = SystemMessage(GetLastError());
    if (got == 0) break;
    done += got;
  }
  position_ += static_cast<int64_t>(done);
  return done;
}
