#include "base/bitmap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/bytereader.h"
#include "base/bytes.h"
#include "base/streams.h"

namespace {
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kHeadSize = kFileHeaderSize + kInfoHeaderSize;
// Far beyond anything the viewer builds, small enough that row sizes stay
// well inside 32 bits.
constexpr int32_t kMaxSide = 1 << 15;
constexpr size_t kClrUsedOffset = 32;
}  // namespace

// What the two headers say about the rest of the image.
struct Bitmap::Layout {
  int32_t Width = 0;
  int32_t Height = 0;  // negative for a top-down image
  uint16_t BitCount = 0;
  uint32_t TableBytes = 0;  // colour table bytes in the image
  size_t InfoBytes = 0;     // info header and the full colour table
  int64_t Stride = 0;
  int64_t ImageBytes = 0;

  // Reads the 54 header bytes; false for anything the bitmap does not take,
  // and for fewer bytes.
  bool Parse(std::span<const uint8_t> head) {
    if (head.size() < kHeadSize) return false;
    ByteReader r(head);
    if (r.U8() != 'B' || r.U8() != 'M') return false;
    r.Seek(10);
    const uint32_t offBits = r.Le32();
    const uint32_t infoSize = r.Le32();
    Width = static_cast<int32_t>(r.Le32());
    Height = static_cast<int32_t>(r.Le32());
    const uint16_t planes = r.Le16();
    BitCount = r.Le16();
    const uint32_t compression = r.Le32();

    if (infoSize != kInfoHeaderSize || planes != 1 || compression != 0) return false;
    if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 24 && BitCount != 32) return false;
    if (Width < 0 || Width > kMaxSide || Height == INT32_MIN || std::abs(Height) > kMaxSide) return false;
    if (offBits < kHeadSize) return false;
    TableBytes = offBits - kHeadSize;
    if (TableBytes % 4 != 0 || TableBytes > 256 * 4) return false;

    // The colour table always gets all the entries its bit depth can index,
    // so a short table never lets a pixel read past it.
    const size_t entries = BitCount <= 8 ? (size_t{1} << BitCount) : 0;
    InfoBytes = kInfoHeaderSize + std::max<size_t>(entries * 4, TableBytes);
    Stride = ((static_cast<int64_t>(Width) * BitCount + 31) / 32) * 4;
    ImageBytes = Stride * std::abs(Height);
    return true;
  }
  bool TableIsFull() const { return InfoBytes == kInfoHeaderSize + TableBytes; }
};

void Bitmap::Clear() {
  store_.clear();
  infoAt_ = infoSize_ = bitsAt_ = bitsSize_ = 0;
  width_ = height_ = bitCount_ = stride_ = 0;
  bottomUp_ = true;
}

void Bitmap::SetLayout(const Layout& layout, size_t infoAt, size_t bitsAt) {
  infoAt_ = infoAt;
  infoSize_ = layout.InfoBytes;
  bitsAt_ = bitsAt;
  bitsSize_ = static_cast<size_t>(layout.ImageBytes);
  // biClrUsed: the full table is present.
  if (layout.BitCount <= 8) WriteLe32(store_.data() + infoAt + kClrUsedOffset, 0);
  width_ = layout.Width;
  height_ = std::abs(layout.Height);
  bitCount_ = layout.BitCount;
  stride_ = static_cast<int32_t>(layout.Stride);
  bottomUp_ = layout.Height > 0;
}

bool Bitmap::LoadFromBytes(std::span<const uint8_t> bytes) {
  Clear();
  Layout layout;
  if (!layout.Parse(bytes)) return false;
  if (bytes.size() - kHeadSize < layout.TableBytes + static_cast<uint64_t>(layout.ImageBytes)) return false;

  ByteVector store(layout.InfoBytes + static_cast<size_t>(layout.ImageBytes));
  std::memcpy(store.data(), bytes.data() + kFileHeaderSize, kInfoHeaderSize + layout.TableBytes);
  uint8_t* table = store.data() + kInfoHeaderSize;
  std::memset(table + layout.TableBytes, 0, layout.InfoBytes - kInfoHeaderSize - layout.TableBytes);
  std::memcpy(store.data() + layout.InfoBytes, bytes.data() + kHeadSize + layout.TableBytes,
              static_cast<size_t>(layout.ImageBytes));
  store_ = std::move(store);
  SetLayout(layout, 0, layout.InfoBytes);
  return true;
}

bool Bitmap::TakeFromStream(MemoryStream& stream) {
  const size_t size = stream.Bytes().size();
  const size_t at = std::min(static_cast<size_t>(stream.Position()), size);
  const std::span<const uint8_t> image = std::span(stream.Bytes()).subspan(at);
  Layout layout;
  const bool whole = layout.Parse(image) && layout.TableIsFull() &&
                     image.size() - kHeadSize >= layout.TableBytes + static_cast<size_t>(layout.ImageBytes);
  if (!whole) return LoadFromBytes(image);
  Clear();
  store_ = stream.TakeBytes();
  SetLayout(layout, at + kFileHeaderSize, at + kHeadSize + layout.TableBytes);
  return true;
}

int Bitmap::PixelIndex(int32_t x, int32_t y) const {
  if (bitCount_ != 8 || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const int32_t row = bottomUp_ ? height_ - 1 - y : y;
  return Bits()[static_cast<size_t>(row) * static_cast<size_t>(stride_) + static_cast<size_t>(x)];
}
