#pragma once

#include <string>
#include <vector>

// Runs one command with its arguments; returns the process exit code.
int RunCommand(const std::string& command, const std::vector<std::string>& args);
