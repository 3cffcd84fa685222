#include "imaging/decoder.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "imaging/bmptemplate.h"
#include "winlayer/bitmap.h"
#include "winlayer/bytes.h"
#include "winlayer/streams.h"

namespace {

constexpr int kSide = 64;
constexpr size_t kTextureBytes = kSide * kSide;

// The image being decoded: 64 rows of 64 bytes, bottom row first, so that
// the rows can go to the BMP image as they lie.
using WorkImage = std::array<uint8_t, kTextureBytes>;

// One flag per palette index that some pixel uses.
class UsedIndices {
 public:
  void Mark(uint8_t index) { used_[index] = 1; }
  uint16_t Count() const {
    uint16_t n = 0;
    for (uint8_t flag : used_) n = static_cast<uint16_t>(n + flag);
    return n;
  }

 private:
  std::array<uint8_t, 256> used_{};
};

// Sets the template's per-image fields and writes the template in front of
// the rows that follow.
void WriteHead(MemoryStream& image, int32_t width, int32_t rowBytes) {
  WriteLe32(BmpTemplate.data() + BfSizeOffset, static_cast<uint32_t>(BmpHeadSize + kSide * rowBytes));
  WriteLe32(BmpTemplate.data() + BiWidthOffset, static_cast<uint32_t>(width));
  WriteLe32(BmpTemplate.data() + BiHeightOffset, kSide);
  image.Write(BmpTemplate.data(), BmpTemplate.size());
}

uint16_t WriteTexture(Stream& data, MemoryStream& image) {
  // A chunk shorter than 4096 bytes supplies only its first pixels, column
  // by column; the rest show index 0 and, as the chunk does not hold them,
  // do not count as used. Bytes after the first 4096 are ignored.
  std::array<uint8_t, kTextureBytes> source{};
  data.Seek(0, SeekOrigin::Begin);
  const size_t supplied = data.Read(source.data(), source.size());

  UsedIndices used;
  for (size_t i = 0; i < supplied; ++i) used.Mark(source[i]);

  // Chunk byte x * 64 + y is column x, row y from the top; working row r is
  // picture row 63 - r.
  WorkImage work;
  for (int x = 0; x < kSide; ++x) {
    const uint8_t* column = source.data() + x * kSide;
    for (int y = 0; y < kSide; ++y) work[static_cast<size_t>((kSide - 1 - y) * kSide + x)] = column[y];
  }

  WriteHead(image, kSide, kSide);
  image.Write(work.data(), work.size());
  return used.Count();
}

struct RunRecord {
  uint16_t EndTimes2;
  uint16_t StartTimes2;
};

// Reads the run list at `offset`: records of three words up to a 0 word.
// A list ends where the chunk ends: a missing end word closes it, and a record
// the chunk holds only in part is dropped. Every record moves the position 6
// bytes on, so a list never holds more records than the chunk has room for.
void ReadRunList(Stream& data, int64_t offset, std::vector<RunRecord>& runs) {
  uint8_t marker[2];
  data.Seek(offset, SeekOrigin::Begin);
  if (data.Read(marker, sizeof marker) != sizeof marker || ReadLe16(marker) == 0) return;
  data.Seek(-2, SeekOrigin::Current);
  for (;;) {
    uint8_t record[8];  // the record and the word after it
    const size_t got = data.Read(record, sizeof record);
    if (got < 6) return;
    runs.push_back({ReadLe16(record), ReadLe16(record + 4)});
    if (got < sizeof record || ReadLe16(record + 6) == 0) return;
    data.Seek(-2, SeekOrigin::Current);
  }
}

uint16_t WriteSprite(Stream& data, MemoryStream& image) {
  uint8_t head[4];
  data.Seek(0, SeekOrigin::Begin);
  const bool hasHead = data.Read(head, sizeof head) == sizeof head;
  // A chunk too short for its two column words has no columns.
  const int32_t declared = hasHead ? int32_t{ReadLe16(head + 2)} - int32_t{ReadLe16(head)} + 1 : 0;
  // The pool follows the whole declared offset table.
  const int64_t poolStart = (int64_t{declared} + 2) * 2;
  // A last column more than one below the first gives no columns; beyond 64
  // columns only the first 64 are shown, as the frame is 64 pixels wide.
  const int32_t width = std::clamp(declared, 0, kSide);
  const int32_t rowBytes = (width + 3) / 4 * 4;

  // Offset table entries that the chunk does not hold leave their columns
  // without runs.
  uint8_t table[2 * kSide];
  const auto listed = static_cast<int32_t>(data.Read(table, 2 * static_cast<size_t>(width)) / 2);

  // All columns' runs in column order; column c's are runs[first[c]] up to
  // runs[first[c + 1]].
  std::vector<RunRecord> runs;
  std::array<size_t, kSide + 1> first{};
  for (int32_t c = 0; c < width; ++c) {
    first[static_cast<size_t>(c)] = runs.size();
    if (c < listed) ReadRunList(data, ReadLe16(table + 2 * c), runs);
  }
  first[static_cast<size_t>(width)] = runs.size();

  WorkImage work{};
  UsedIndices used;
  uint8_t pixels[kSide];
  data.Seek(poolStart, SeekOrigin::Begin);
  for (int32_t c = 0; c < width; ++c) {
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
      const size_t got = data.Read(pixels, static_cast<size_t>(inFrame));
      data.Seek(length - static_cast<int64_t>(got), SeekOrigin::Current);
      for (size_t t = 0; t < got; ++t) {
        work[static_cast<size_t>((kSide - 1 - top - static_cast<int32_t>(t)) * kSide + c)] = pixels[t];
        used.Mark(pixels[t]);
      }
    }
  }

  WriteHead(image, width, rowBytes);
  for (int r = 0; r < kSide; ++r) image.Write(work.data() + r * kSide, static_cast<size_t>(rowBytes));
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
