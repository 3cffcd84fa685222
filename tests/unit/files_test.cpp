#include "cli/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/fileops.h"
#include "pagewriter.h"
#include "tempdir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(PathText(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteFileWhole, WritesAndReplacesLeavingOnlyTheFile) {
  TempDir dir;
  const fs::path path = dir.Path() / "out.wl6";
  std::string error;
  ASSERT_TRUE(WriteFileWhole(path, std::vector<uint8_t>{1, 2, 3}, error)) << error;
  ASSERT_TRUE(WriteFileWhole(path, std::vector<uint8_t>{4, 5}, error)) << error;
  EXPECT_EQ(ReadBytes(PathText(path)), (std::vector<uint8_t>{4, 5}));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.wl6"});
}

TEST(WriteFileWhole, FailuresNameTheFileAndTheReasonAndLeaveNothing) {
  TempDir dir;
  fs::create_directory(dir.Path() / "taken.bmp");
  std::string error;
  EXPECT_FALSE(WriteFileWhole(dir.Path() / "taken.bmp", std::vector<uint8_t>{1}, error));
  const std::string taken = "cannot write '" + dir.File("taken.bmp") + "': ";
  EXPECT_TRUE(error.starts_with(taken) && error.size() > taken.size()) << error;
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"taken.bmp"});
  EXPECT_FALSE(WriteFileWhole(dir.Path() / "none" / "new.bmp", std::vector<uint8_t>{1}, error));
  const std::string none = "cannot create '" + PathText(dir.Path() / "none" / "new.bmp") + "': ";
  EXPECT_TRUE(error.starts_with(none) && error.size() > none.size()) << error;
}

TEST(WriteFileWhole, RemovesTheTemporariesOfProcessesThatAreGoneAndNothingElse) {
  TempDir dir;
  // No system gives a process this number: not Linux, whose numbers stay
  // below 2^22, nor Windows, whose numbers are multiples of 4.
  const std::string gone = "2147483646";
  const std::string running = std::to_string(CurrentProcessId());
  const std::vector<std::string> kept = {
      ".new.wl6.tmp-" + running + "-99999",  // a writer that still runs, past this one's counter
      "new.wl6.tmp-" + gone + "-0",          // not hidden: not a name of ours
      ".new.wl6.tmp-" + gone + "-0.bak",     // something after the counter
      ".new.wl6.tmp-" + gone,                // no counter
      ".tmp-" + gone + "-0",                 // no file name
  };
  for (const std::string& name : kept) ASSERT_TRUE(WriteBytes(dir.File(name), {1}));
  ASSERT_TRUE(WriteBytes(dir.File(".new.wl6.tmp-" + gone + "-0"), {1}));
  ASSERT_TRUE(WriteBytes(dir.File(".old.bmp.tmp-" + gone + "-12"), {1}));
  fs::create_directory(dir.Path() / (".dir.tmp-" + gone + "-1"));

  std::string error;
  ASSERT_TRUE(WriteFileWhole(dir.Path() / "new.wl6", std::vector<uint8_t>{1}, error)) << error;
  std::vector<std::string> expected = kept;
  expected.push_back(".dir.tmp-" + gone + "-1");
  expected.push_back("new.wl6");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.Path()), expected);
}

}  // namespace
