#include <windows.h>

#include <algorithm>

#include "base/fileops.h"
#include "base/unicode_win.h"

WriteResult WriteNamedFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                           std::string& reason) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = SystemMessage(GetLastError());
    return WriteResult::CannotCreate;
  }
  bool written = true;
  size_t done = 0;
  while (written && done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    written = WriteFile(file, bytes.data() + done, want, &put, nullptr) && put > 0;
    if (!written) reason = SystemMessage(GetLastError());
    done += put;
  }
  if (!CloseHandle(file) && written) {
    reason = SystemMessage(GetLastError());
    written = false;
  }
  return written ? WriteResult::Written : WriteResult::CannotWrite;
}

WriteResult WriteUnnamedThenLink(const std::filesystem::path&, const std::filesystem::path&,
                                 std::span<const uint8_t>, std::string&) {
  // Windows has no file that comes into being without a name.
  return WriteResult::NoUnnamedFiles;
}

uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessIsGone(uint32_t id) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  // A number no process has is an invalid parameter; a process of another
  // user's is access denied, and runs.
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
  CloseHandle(process);
  return ended;
}
