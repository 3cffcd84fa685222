// Text at the Windows boundary: the program keeps UTF-8 inside and talks to
// the system through the wide API.
#pragma once

#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
