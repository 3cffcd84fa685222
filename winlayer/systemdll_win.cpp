#include "winlayer/systemdll_win.h"

#include <string>

FARPROC SystemExport(const wchar_t* dll, const char* name) {
  HMODULE module = GetModuleHandleW(dll);
  if (!module) {
    // By full path, so that a DLL of the same name beside the program or in
    // the current folder is never the one loaded.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    module = LoadLibraryW((std::wstring(folder, length) + L"\\" + dll).c_str());
  }
  return module ? GetProcAddress(module, name) : nullptr;
}
