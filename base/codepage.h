// The program's fixed Russian texts are kept in code page 1251, its 8-bit
// character set, byte for byte as they are specified; everything else inside
// is UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string Cp1251ToUtf8(std::string_view text);
