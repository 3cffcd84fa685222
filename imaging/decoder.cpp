#include "imaging/decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/bmptemplate.h"
#include "winlayer/bitmap.h"
#include "winlayer/bytes.h"
#include "winlayer/streams.h"

namespace {

constexpr int kSide = 64;
constexpr size_t kPixels = kSide * kSide;

// The image being decoded, column after column, 64 bytes each with row 0 at
// the top: the order in which both chunk formats store their pixels. It
// becomes BMP rows only when the image is written.
using ColumnImage = std::array<uint8_t, kPixels>;

// One flag per palette index that some pixel uses.
class UsedIndices {
 public:
  void MarkAll(const uint8_t* pixels, size_t n) {
    for (size_t i = 0; i < n; ++i) used_[pixels[i]] = 1;
  }
  // Each flag is a byte of 0 or 1, so a word's set bits count eight flags.
  uint16_t Count() const {
    int n = 0;
    for (size_t i = 0; i < used_.size(); i += 8) {
      uint64_t word;
      std::memcpy(&word, used_.data() + i, 8);
      n += std::popcount(word);
    }
    return static_cast<uint16_t>(n);
  }

 private:
  std::array<uint8_t, 256> used_{};
};

static_assert(std::endian::native == std::endian::little, "byte j of a word is its bits 8j to 8j + 7");

// Transposes the 8 x 8 bytes held in eight words: byte j of word i trades
// places with byte i of word j. Swaps bytes, then pairs, then quads.
void Transpose8(uint64_t m[8]) {
  for (int i = 0; i < 8; i += 2) {
    const uint64_t t = ((m[i] >> 8) ^ m[i + 1]) & 0x00FF00FF00FF00FFull;
    m[i + 1] ^= t;
    m[i] ^= t << 8;
  }
  for (int i : {0, 1, 4, 5}) {
    const uint64_t t = ((m[i] >> 16) ^ m[i + 2]) & 0x0000FFFF0000FFFFull;
    m[i + 2] ^= t;
    m[i] ^= t << 16;
  }
  for (int i = 0; i < 4; ++i) {
    const uint64_t t = ((m[i] >> 32) ^ m[i + 4]) & 0x00000000FFFFFFFFull;
    m[i + 4] ^= t;
    m[i] ^= t << 32;
  }
}

// Writes the BMP file image to `image` in one piece: BmpTemplate with its
// per-image fields set for `width`, then 64 rows of the row length, bottom
// row first. The columns from `width` up to the next multiple of 8 must be
// 0: they pad the rows to their length, and are read as whole blocks.
void WriteBmp(const ColumnImage& columns, int32_t width, MemoryStream& image) {
  const int32_t rowBytes = (width + 3) / 4 * 4;
  WriteLe32(BmpTemplate.data() + BfSizeOffset, static_cast<uint32_t>(BmpHeadSize + kSide * rowBytes));
  WriteLe32(BmpTemplate.data() + BiWidthOffset, static_cast<uint32_t>(width));
  WriteLe32(BmpTemplate.data() + BiHeightOffset, kSide);

  std::array<uint8_t, BmpHeadSize + kPixels> bmp;
  std::memcpy(bmp.data(), BmpTemplate.data(), BmpHeadSize);
  uint8_t* rows = bmp.data() + BmpHeadSize;
  // Eight columns by eight rows at a time; the last block of a row length
  // that is not a multiple of 8 gives only its first four columns.
  for (int32_t x0 = 0; x0 < rowBytes; x0 += 8) {
    const bool full = rowBytes - x0 >= 8;
    for (int y0 = 0; y0 < kSide; y0 += 8) {
      uint64_t block[8];
      for (int i = 0; i < 8; ++i) std::memcpy(&block[i], columns.data() + (x0 + i) * kSide + y0, 8);
      Transpose8(block);
      // Fixed sizes, so that each copy is a single store.
      for (int j = 0; j < 8; ++j) {
        uint8_t* to = rows + (kSide - 1 - y0 - j) * rowBytes + x0;
        if (full) {
          std::memcpy(to, &block[j], 8);
        } else {
          std::memcpy(to, &block[j], 4);
        }
      }
    }
  }
  image.Write(bmp.data(), BmpHeadSize + static_cast<size_t>(kSide * rowBytes));
}

uint16_t WriteTexture(Stream& data, MemoryStream& image) {
  // A chunk shorter than 4096 bytes supplies only its first pixels, column
  // by column; the rest show index 0 and, as the chunk does not hold them,
  // do not count as used. Bytes after the first 4096 are ignored.
  ColumnImage columns;
  data.Seek(0, SeekOrigin::Begin);
  const size_t supplied = data.Read(columns.data(), columns.size());
  std::fill(columns.begin() + static_cast<std::ptrdiff_t>(supplied), columns.end(), 0);
  UsedIndices used;
  used.MarkAll(columns.data(), supplied);
  WriteBmp(columns, kSide, image);
  return used.Count();
}

// A sprite chunk, read out of its Data stream once, read again with the
// stream's own rules: a read yields only the bytes before the end, and a
// position may lie beyond the end.
class ChunkReader {
 public:
  explicit ChunkReader(Stream& data) : bytes_(static_cast<size_t>(std::max<int64_t>(data.Size(), 0))) {
    data.Seek(0, SeekOrigin::Begin);
    bytes_.resize(data.Read(bytes_.data(), bytes_.size()));
  }

  void Seek(int64_t position) { position_ = std::max<int64_t>(position, 0); }
  void Skip(int64_t count) { Seek(position_ + count); }
  size_t Read(uint8_t* dst, size_t count) {
    const size_t n = std::min(count, Remaining());
    if (n == 0) return 0;
    std::memcpy(dst, bytes_.data() + position_, n);
    position_ += static_cast<int64_t>(n);
    return n;
  }
  // The 16-bit word at the position, if the chunk holds both its bytes.
  bool ReadWord(uint16_t& word) {
    if (Remaining() < 2) return false;
    word = ReadLe16(bytes_.data() + position_);
    position_ += 2;
    return true;
  }
  size_t Remaining() const {
    const auto size = static_cast<int64_t>(bytes_.size());
    return position_ < size ? static_cast<size_t>(size - position_) : 0;
  }

 private:
  std::vector<uint8_t> bytes_;
  int64_t position_ = 0;
};

struct RunRecord {
  uint16_t EndTimes2;
  uint16_t StartTimes2;
};

// Reads the run list at `offset`: records of three words up to a 0 word,
// which is read where the next record would begin. A list ends where the
// chunk ends: a missing end word closes it, and a record the chunk holds only
// in part is dropped. Every record moves the position 6 bytes on, so a list
// never holds more records than the chunk has room for.
void ReadRunList(ChunkReader& chunk, int64_t offset, std::vector<RunRecord>& runs) {
  chunk.Seek(offset);
  uint16_t marker = 0;
  while (chunk.ReadWord(marker) && marker != 0) {
    chunk.Skip(-2);
    uint16_t end = 0;
    uint16_t ignored = 0;
    uint16_t start = 0;
    if (chunk.Remaining() < 6) return;
    chunk.ReadWord(end);
    chunk.ReadWord(ignored);
    chunk.ReadWord(start);
    runs.push_back({end, start});
  }
}

uint16_t WriteSprite(Stream& data, MemoryStream& image) {
  ChunkReader chunk(data);
  uint8_t head[4];
  // A chunk too short for its two column words has no columns.
  const bool hasHead = chunk.Read(head, sizeof head) == sizeof head;
  const int32_t declared = hasHead ? int32_t{ReadLe16(head + 2)} - int32_t{ReadLe16(head)} + 1 : 0;
  // The pool follows the whole declared offset table.
  const int64_t poolStart = (int64_t{declared} + 2) * 2;
  // A last column more than one below the first gives no columns; beyond 64
  // columns only the first 64 are shown, as the frame is 64 pixels wide.
  const int32_t width = std::clamp(declared, 0, kSide);

  // Offset table entries that the chunk does not hold leave their columns
  // without runs.
  uint8_t table[2 * kSide];
  const auto listed = static_cast<int32_t>(chunk.Read(table, 2 * static_cast<size_t>(width)) / 2);

  // All columns' runs in column order; column c's are runs[first[c]] up to
  // runs[first[c + 1]].
  std::vector<RunRecord> runs;
  runs.reserve(256);
  std::array<size_t, kSide + 1> first{};
  for (int32_t c = 0; c < width; ++c) {
    first[static_cast<size_t>(c)] = runs.size();
    if (c < listed) ReadRunList(chunk, ReadLe16(table + 2 * c), runs);
  }
  first[static_cast<size_t>(width)] = runs.size();

  // Uncovered pixels are 0, and so are the columns that pad the rows and
  // fill the last 8-column block that WriteBmp reads.
  ColumnImage columns;
  std::fill_n(columns.begin(), (width + 7) / 8 * 8 * kSide, 0);
  UsedIndices used;
  chunk.Seek(poolStart);
  for (int32_t c = 0; c < width; ++c) {
    uint8_t* column = columns.data() + c * kSide;
    for (size_t k = first[static_cast<size_t>(c)]; k < first[static_cast<size_t>(c) + 1]; ++k) {
      // An upside-down run (end above start) covers no rows and takes nothing
      // from the pool.
      const int32_t length = (int32_t{runs[k].EndTimes2} - int32_t{runs[k].StartTimes2}) / 2;
      if (length <= 0) continue;
      // A run takes all its bytes from the pool, but only its rows inside the
      // frame are drawn; pool bytes past the end of the chunk leave their
      // rows uncovered, and so uncounted.
      const int32_t top = runs[k].StartTimes2 >> 1;
      const int32_t inFrame = std::clamp(kSide - top, 0, length);
      const size_t got = inFrame > 0 ? chunk.Read(column + top, static_cast<size_t>(inFrame)) : 0;
      chunk.Skip(length - static_cast<int64_t>(got));
      used.MarkAll(column + top, got);
    }
  }

  WriteBmp(columns, width, image);
  return used.Count();
}

}  // namespace

uint16_t WriteElementImage(Stream& data, SectionKind section, MemoryStream& image) {
  switch (section) {
    case SectionKind::Texture:
      return WriteTexture(data, image);
    case SectionKind::Sprite:
      return WriteSprite(data, image);
    case SectionKind::Unknown:
      break;
  }
  return 0;
}

void DecodeElement(RWlFile& file, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= file.Chunks.size()) return;
  const SectionKind section = SectionOf(static_cast<uint32_t>(index));
  if (section == SectionKind::Unknown) return;
  RWlChunk& entry = file.Chunks[static_cast<size_t>(index)];
  MemoryStream image;
  entry.Colors = WriteElementImage(*entry.Data, section, image);
  image.Seek(0, SeekOrigin::Begin);
  entry.Image = std::make_unique<Bitmap>();
  entry.Image->LoadFromStream(image);
}

bool EnsureDecoded(RWlFile& file, uint32_t index) {
  if (index >= file.Chunks.size() || SectionOf(index) == SectionKind::Unknown) return false;
  if (file.Chunks[index].Image) return false;
  DecodeElement(file, static_cast<int32_t>(index));
  return true;
}
