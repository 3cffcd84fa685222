#include <windows.h>

#include "base/unicode_win.h"
#include "shell/association.h"
#include "shell/cmdline.h"

void RegisterFileType() {
  HKEY existing = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(AssociatedExtension).c_str(), 0, KEY_READ, &existing) ==
      ERROR_SUCCESS) {
    RegCloseKey(existing);
    return;
  }
  for (const RegistryValue& entry : AssociationValues(CommandLineArg(0))) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Widen(entry.Key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      continue;
    }
    // Wide values, so that an executable path outside the ANSI code page is
    // stored as it is; the length includes the terminating NUL.
    const std::wstring data = Widen(entry.Value);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
}
