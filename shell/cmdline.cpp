#include "shell/cmdline.h"

namespace {

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// Skips blanks and empty quoted arguments.
size_t SkipBlanks(std::string_view line, size_t at) {
  for (;;) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (line.substr(at, 2) != "\"\"") return at;
    at += 2;
  }
}

// The end of the token that starts at `at`; quoted stretches keep blanks.
size_t TokenEnd(std::string_view line, size_t at) {
  while (at < line.size() && line[at] != '\0' && !IsBlank(line[at])) {
    if (line[at++] != '"') continue;
    while (at < line.size() && line[at] != '"') ++at;
    if (at < line.size()) ++at;  // the closing quote
  }
  return at;
}

}  // namespace

std::string CommandLineToken(std::string_view line, int n) {
  const size_t nul = line.find('\0');
  if (nul != std::string_view::npos) line = line.substr(0, nul);
  size_t at = 0;
  std::string_view token;
  for (int k = 0; k <= n; ++k) {
    at = SkipBlanks(line, at);
    const size_t end = TokenEnd(line, at);
    token = line.substr(at, end - at);
    if (token.empty()) return {};
    at = end;
  }
  if (token.size() >= 2 && token.front() == '"' && token.back() == '"')
    token = token.substr(1, token.size() - 2);
  return std::string(token);
}
