#include "shell/cmdline.h"

#include <gtest/gtest.h>

namespace {

struct Row {
  const char* rest;
  const char* first;
};

TEST(CommandLineToken, TheShellsWaysOfPassingAPath) {
  const Row rows[] = {
      {"C:\\games\\vswap.wl6", "C:\\games\\vswap.wl6"},
      {"\"C:\\My Games\\vswap.wl6\"", "C:\\My Games\\vswap.wl6"},
      {"\"\" vswap.wl6", "vswap.wl6"},
      {"C:\\My\" \"Games\\vswap.wl6", "C:\\My\" \"Games\\vswap.wl6"},
      {"\"C:\\My Games\\vswap.wl6", "\"C:\\My Games\\vswap.wl6"},
      {"", ""},
      {"   \t ", ""},
      {"\"\" \"\"  \"\"", ""},
      {"\"\"\"\"vswap.wl6", "vswap.wl6"},
      {"\t\x01\x1F vswap.wl6", "vswap.wl6"},
      {"\"C:\\Игры\\vswap.wl6\"", "C:\\Игры\\vswap.wl6"},
      {"\"", "\""},
      {"a\"b c\"d e", "a\"b c\"d"},
      {"\"a b\"c d", "\"a b\"c"},
      {"x\x7Fy z", "x\x7Fy"},
      {"\"C:\\Games\\\" vswap.wl6", "C:\\Games\\"},
  };
  for (const Row& r : rows) {
    for (const std::string program : {"tessarine.exe", "\"C:\\Program Files\\Tessarine\\tessarine.exe\""}) {
      const std::string line = program + " " + r.rest;
      EXPECT_EQ(CommandLineToken(line, 1), r.first) << line;
    }
  }
}

TEST(CommandLineToken, CountsTokensAndStopsAtTheEnd) {
  const std::string line = "\"C:\\Program Files\\t.exe\" one \"two three\"  four";
  EXPECT_EQ(CommandLineToken(line, 0), "C:\\Program Files\\t.exe");
  EXPECT_EQ(CommandLineToken(line, 1), "one");
  EXPECT_EQ(CommandLineToken(line, 2), "two three");
  EXPECT_EQ(CommandLineToken(line, 3), "four");
  EXPECT_EQ(CommandLineToken(line, 4), "");
  EXPECT_EQ(CommandLineToken("t.exe", 1), "");
  EXPECT_EQ(CommandLineToken(std::string_view("t.exe x\0y", 9), 1), "x") << "the line ends at a NUL";
  EXPECT_EQ(CommandLineToken("t.exe \"\"x", 1), "x") << "an empty quoted pair is skipped like a blank";
  EXPECT_EQ(CommandLineToken("t.exe x\"\" y", 1), "x\"\"") << "quotes inside a token stay";
}

}  // namespace
