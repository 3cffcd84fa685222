#include "winlayer/bitmap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "winlayer/bytes.h"
#include "winlayer/streams.h"

namespace {
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
// Far beyond anything the viewer builds, small enough that row sizes stay
// well inside 32 bits.
constexpr int32_t kMaxSide = 1 << 15;
}  // namespace

void Bitmap::Clear() {
  info_.clear();
  bits_.clear();
  width_ = height_ = bitCount_ = stride_ = 0;
  bottomUp_ = true;
}

bool Bitmap::LoadFromStream(Stream& stream) {
  Clear();
  uint8_t head[kFileHeaderSize + kInfoHeaderSize];
  if (stream.Read(head, sizeof head) != sizeof head) return false;
  if (head[0] != 'B' || head[1] != 'M') return false;

  const uint32_t offBits = ReadLe32(head + 10);
  const uint32_t infoSize = ReadLe32(head + 14);
  const auto width = static_cast<int32_t>(ReadLe32(head + 18));
  const auto height = static_cast<int32_t>(ReadLe32(head + 22));
  const uint16_t planes = ReadLe16(head + 26);
  const uint16_t bitCount = ReadLe16(head + 28);
  const uint32_t compression = ReadLe32(head + 30);

  if (infoSize != kInfoHeaderSize || planes != 1 || compression != 0) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
  if (width < 0 || width > kMaxSide || height == INT32_MIN || std::abs(height) > kMaxSide) return false;
  if (offBits < kFileHeaderSize + kInfoHeaderSize) return false;
  const uint32_t tableBytes = offBits - kFileHeaderSize - kInfoHeaderSize;
  if (tableBytes % 4 != 0 || tableBytes > 256 * 4) return false;

  const int64_t stride = ((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4;
  const int64_t rows = std::abs(height);
  const int64_t imageBytes = stride * rows;
  if (stream.Size() - stream.Position() < tableBytes + imageBytes) return false;

  // The colour table always gets all the entries its bit depth can index, so
  // a short table never lets a pixel read past it.
  const size_t entries = bitCount <= 8 ? (size_t{1} << bitCount) : 0;
  std::vector<uint8_t> info(kInfoHeaderSize + std::max<size_t>(entries * 4, tableBytes), 0);
  std::memcpy(info.data(), head + kFileHeaderSize, kInfoHeaderSize);
  if (stream.Read(info.data() + kInfoHeaderSize, tableBytes) != tableBytes) return false;
  if (entries > 0) WriteLe32(info.data() + 32, 0);  // biClrUsed: the full table is present

  std::vector<uint8_t> bits(static_cast<size_t>(imageBytes));
  if (stream.Read(bits.data(), bits.size()) != bits.size()) return false;

  info_ = std::move(info);
  bits_ = std::move(bits);
  width_ = width;
  height_ = static_cast<int32_t>(rows);
  bitCount_ = bitCount;
  stride_ = static_cast<int32_t>(stride);
  bottomUp_ = height > 0;
  return true;
}

int Bitmap::PixelIndex(int32_t x, int32_t y) const {
  if (bitCount_ != 8 || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const int32_t row = bottomUp_ ? height_ - 1 - y : y;
  return bits_[static_cast<size_t>(row) * static_cast<size_t>(stride_) + static_cast<size_t>(x)];
}
