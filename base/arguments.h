// The command line as UTF-8 strings, whatever the platform's own encoding.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> Utf8Arguments(int argc, char** argv);
