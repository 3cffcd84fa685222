#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include "base/arguments.h"
#include "base/unicode_win.h"

std::vector<std::string> Utf8Arguments(int, char**) {
  // The console speaks UTF-8 from here on; the arguments come in wide form so
  // that paths outside the ANSI code page survive.
  SetConsoleOutputCP(CP_UTF8);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> out;
  for (int i = 0; argv && i < argc; ++i) out.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return out;
}
