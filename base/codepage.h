// The program's fixed Russian texts are kept in code page 1251, as the
// product has always shipped them; everything else inside is UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string Cp1251ToUtf8(std::string_view text);
