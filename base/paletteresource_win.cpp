#include <windows.h>

#include "base/paletteresource.h"

void LoadPaletteResource(MemoryStream& out) {
  const HMODULE module = GetModuleHandleW(nullptr);
  // Resource names and types are matched without regard to case.
  const HRSRC found = FindResourceW(module, L"Palette", L"Palette");
  if (!found) return;
  const HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes) out.Write(bytes, size);
}
