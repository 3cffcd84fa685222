#include <windows.h>

#include <vector>

#include "base/unicode_win.h"
#include "shell/cmdline.h"

namespace {
std::string ModulePath() {
  // Long paths do not fit MAX_PATH; grow until the whole name fits.
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return Narrow(std::wstring(buffer.data(), n));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}
}  // namespace

std::string CommandLineArg(int n) {
  if (n == 0) return ModulePath();
  return CommandLineToken(Narrow(GetCommandLineW()), n);
}
