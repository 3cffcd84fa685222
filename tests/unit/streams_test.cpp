#include "base/streams.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>

#include <tuple>
#endif

#include "pagewriter.h"
#include "tempdir.h"

namespace {

std::vector<uint8_t> ReadAll(Stream& s, size_t n) {
  std::vector<uint8_t> out(n, 0xEE);
  out.resize(s.Read(out.data(), n));
  return out;
}

TEST(MemoryStream, WritesGrowAndSeekFromEveryOrigin) {
  MemoryStream m;
  const uint8_t bytes[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(m.Write(bytes, 5), 5u);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Seek(1, SeekOrigin::Begin), 1);
  EXPECT_EQ(m.Seek(2, SeekOrigin::Current), 3);
  EXPECT_EQ(ReadAll(m, 10), (std::vector<uint8_t>{4, 5}));
  EXPECT_EQ(m.Seek(-2, SeekOrigin::End), 3);
  EXPECT_EQ(m.Seek(-2, SeekOrigin::Current), 1);
  EXPECT_EQ(ReadAll(m, 1), (std::vector<uint8_t>{2}));
  EXPECT_EQ(m.Seek(-100, SeekOrigin::Current), 0) << "a seek before the start stops at 0";
}

TEST(MemoryStream, ReadsNothingBeyondTheEndAndFillsWriteGapsWithZeros) {
  MemoryStream m;
  m.Seek(3, SeekOrigin::Begin);
  const uint8_t b = 9;
  m.Write(&b, 1);
  m.Seek(0, SeekOrigin::Begin);
  EXPECT_EQ(ReadAll(m, 8), (std::vector<uint8_t>{0, 0, 0, 9}));
  m.Seek(50, SeekOrigin::Begin);
  EXPECT_TRUE(ReadAll(m, 4).empty());
  EXPECT_EQ(m.Position(), 50);
  // An empty read may name no buffer at all, as an empty table's does.
  m.Seek(0, SeekOrigin::Begin);
  EXPECT_EQ(m.Read(nullptr, 0), 0u);
}

TEST(MemoryStream, AppendsRoomToFillInPlaceAndGivesItsBytesAway) {
  MemoryStream m;
  const uint8_t head[] = {1, 2};
  m.Write(head, 2);
  m.Seek(0, SeekOrigin::Begin);
  uint8_t* room = m.Append(3);
  EXPECT_EQ(std::tuple(m.Size(), m.Position()), std::tuple(5, 5)) << "the position moves to the new end";
  room[0] = 3;
  room[1] = 4;
  room[2] = 5;
  EXPECT_EQ(std::vector<uint8_t>(m.Bytes().begin(), m.Bytes().end()), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  const ByteVector bytes = m.TakeBytes();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(std::tuple(m.Size(), m.Position()), std::tuple(0, 0));
  m.Write(head, 1);
  EXPECT_EQ(m.Size(), 1) << "the stream is usable again";
}

TEST(FileStream, ReadsAFileWhosePathHasCharactersOutsideAnyAnsiCodePage) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / std::filesystem::path(u8"Игры ☺"));
  const std::string path = dir.File("Игры ☺/vswap.wl6");
  ASSERT_TRUE(WriteBytes(path, {1, 2, 3, 4}));
  FileStream f(path);
  ASSERT_TRUE(f.IsOpen());
  EXPECT_EQ(f.Size(), 4);
  f.Seek(2, SeekOrigin::Begin);
  EXPECT_EQ(ReadAll(f, 10), (std::vector<uint8_t>{3, 4}));
  EXPECT_TRUE(ReadAll(f, 10).empty());
}

TEST(FileStream, OnlyRegularFilesOpenAndARefusalSaysWhy) {
  TempDir dir;
  FileStream missing(dir.File("missing.wl6"));
  EXPECT_FALSE(missing.IsOpen());
#ifdef _WIN32
  EXPECT_NE(missing.Problem(), "");
#else
  EXPECT_EQ(missing.Problem(), std::strerror(ENOENT));
#endif
  FileStream folder(dir.File(""));
  EXPECT_FALSE(folder.IsOpen());
  EXPECT_EQ(folder.Problem(), "it is a folder, not a file");
  uint8_t b = 0;
  EXPECT_EQ(folder.Read(&b, 1), 0u);
#ifdef _WIN32
  EXPECT_EQ(FileStream("NUL").Problem(), "it is a device or a pipe, not a file");
#else
  // Opening a pipe that no one writes to, to read it, would wait forever.
  const std::string fifo = dir.File("fifo.wl6");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(FileStream(fifo).Problem(), "it is a pipe (FIFO), not a file");
  EXPECT_EQ(FileStream("/dev/zero").Problem(), "it is a device, not a file");
#endif
}

}  // namespace
