#include "base/bytereader.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(ByteReader, ReadsLittleEndianAndYieldsZeroPastTheEnd) {
  const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
  ByteReader r(bytes);
  EXPECT_EQ(r.U8(), 0x01);
  EXPECT_EQ(r.Le16(), 0x0302);
  EXPECT_EQ(r.Le32(), 0x00060504u) << "the byte that is not there reads 0";
  EXPECT_EQ(r.Position(), 7u);
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_EQ(r.Le16(), 0);

  EXPECT_EQ(r.Le16At(4), 0x0605);
  EXPECT_EQ(r.Le16At(5), 0x0006);
  EXPECT_EQ(r.Le16At(SIZE_MAX), 0);
  EXPECT_EQ(r.Span(4, 10).size(), 2u);
  EXPECT_TRUE(r.Span(SIZE_MAX, 1).empty());

  r.Seek(SIZE_MAX - 1);
  r.Skip(10);
  EXPECT_EQ(r.Position(), SIZE_MAX) << "a skip never wraps back into the bytes";
  EXPECT_EQ(r.Le32(), 0u);

  std::array<uint8_t, 4> out;
  out.fill(0xEE);
  r.Seek(4);
  r.Read(out.data(), out.size());
  EXPECT_EQ(out, (std::array<uint8_t, 4>{5, 6, 0, 0}));
}

}  // namespace
