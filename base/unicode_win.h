// Text at the Windows boundary: the program keeps UTF-8 inside and talks to
// the system through the wide API.
#pragma once

#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

// The system's text for a Windows error code (GetLastError), without the
// closing full stop and line break.
std::string SystemMessage(unsigned long code);
