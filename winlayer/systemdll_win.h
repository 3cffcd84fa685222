// Functions of system DLLs that only a user's action needs: the open dialog
// (comdlg32), the About box and opening a link (shell32). Their DLLs, with
// all they pull in, load on first use rather than with the program, which
// keeps them out of the start-up time.
#pragma once

#include <windows.h>

// The named export of `dll`, loaded from the system directory; null if
// either cannot be found.
FARPROC SystemExport(const wchar_t* dll, const char* name);

// The same, as a pointer to the function's own type, e.g.
// SystemFunction<decltype(ShellAboutW)>(L"shell32.dll", "ShellAboutW").
template <class Function>
Function* SystemFunction(const wchar_t* dll, const char* name) {
  // Through the generic function pointer type, which any function pointer
  // converts to and from.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemExport(dll, name)));
}
