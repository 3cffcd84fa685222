// The command line as the shell hands it over: blanks separate arguments,
// double quotes group blanks, and one pair of enclosing quotes is removed.
#pragma once

#include <string>
#include <string_view>

// Token n of a command line (0 is the program name), cleaned of one pair of
// enclosing quotes; empty when there are fewer tokens. An empty quoted
// argument "" counts as a blank, never as an argument of its own.
std::string CommandLineToken(std::string_view line, int n);

// The program's own full path for n = 0, else argument n of the process's
// command line (UTF-8; read through the wide API so that any path survives).
std::string CommandLineArg(int n);
