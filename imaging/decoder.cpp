#include "imaging/decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <utility>

#include "base/bitmap.h"
#include "base/bytereader.h"
#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/spriteruns.h"

namespace {

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

// Sixteen bytes that the compiler keeps in one vector register where the
// target has them (SSE2 on x86), and in ordinary registers elsewhere.
using Bytes16 = uint8_t __attribute__((vector_size(16)));

// Interleaves vector i with vector i + 4 into vectors 2i and 2i + 1 (the
// bytes of the first go to the even places). For 8 vectors of 16 bytes this
// rotates the seven bits of (vector, byte) left by one place.
template <size_t... I>
inline void Interleave(const Bytes16 in[8], Bytes16 out[8], std::index_sequence<I...>) {
  ((out[2 * I] =
        __builtin_shufflevector(in[I], in[I + 4], 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23),
    out[2 * I + 1] = __builtin_shufflevector(in[I], in[I + 4], 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29,
                                             14, 30, 15, 31)),
   ...);
}

// Turns 8 columns of 16 rows into rows: afterwards vector k of `rows` holds
// rows 2k (bytes 0 to 7) and 2k + 1 (bytes 8 to 15), each 8 columns long.
// Three rotations by one bit move the vector's three bits to the bottom of
// the byte index; `columns` is used as scratch. The 8 vectors and their
// results fit the 16 registers of SSE2.
inline void Transpose8x16(Bytes16 columns[8], Bytes16 rows[8]) {
  constexpr auto halves = std::make_index_sequence<4>();
  Interleave(columns, rows, halves);
  Interleave(rows, columns, halves);
  Interleave(columns, rows, halves);
}

// Writes the BMP file image at the end of `image`, in place: `head` with its
// per-image fields set for `width`, then 64 rows of the row length, bottom
// row first. `columns` holds the image column after column; the columns from
// `width` up to the next multiple of 8 must be 0: they pad the rows to their
// length, and are read as whole blocks.
void WriteBmp(const uint8_t* columns, int32_t width, BmpHeadBytes& head, MemoryStream& image) {
  const int32_t rowBytes = (width + 3) / 4 * 4;
  WriteLe32(head.data() + BfSizeOffset, static_cast<uint32_t>(BmpHeadSize + FrameSide * rowBytes));
  WriteLe32(head.data() + BiWidthOffset, static_cast<uint32_t>(width));
  WriteLe32(head.data() + BiHeightOffset, FrameSide);

  uint8_t* bmp = image.Append(BmpHeadSize + static_cast<size_t>(FrameSide * rowBytes));
  std::memcpy(bmp, head.data(), BmpHeadSize);
  uint8_t* rows = bmp + BmpHeadSize;
  // Eight columns by sixteen rows at a time; the last block of a row length
  // that is not a multiple of 8 gives only the 4 columns the row holds.
  for (int32_t x0 = 0; x0 < rowBytes; x0 += 8) {
    const size_t n = rowBytes - x0 >= 8 ? 8 : 4;
    for (int y0 = 0; y0 < FrameSide; y0 += 16) {
      Bytes16 block[8], blockRows[8];
      for (int i = 0; i < 8; ++i) std::memcpy(&block[i], columns + (x0 + i) * FrameSide + y0, 16);
      Transpose8x16(block, blockRows);
      uint8_t* to = rows + (FrameSide - 1 - y0) * rowBytes + x0;
      for (int k = 0; k < 8; ++k, to -= 2 * rowBytes) {
        const auto* from = reinterpret_cast<const uint8_t*>(&blockRows[k]);
        // Fixed sizes, so that each copy is a single store.
        if (n == 8) {
          std::memcpy(to, from, 8);
          std::memcpy(to - rowBytes, from + 8, 8);
        } else {
          std::memcpy(to, from, 4);
          std::memcpy(to - rowBytes, from + 8, 4);
        }
      }
    }
  }
}

// Copies a run's pixels in whole words; the last word may overlap the one
// before it, so nothing outside the n bytes is read or written.
void CopyRun(uint8_t* to, const uint8_t* from, size_t n) {
  if (n >= 8) {
    for (size_t i = 0; i + 8 < n; i += 8) std::memcpy(to + i, from + i, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  }
}

// A chunk shorter than 4096 bytes supplies only its first pixels, column by
// column; the rest show index 0 and, as the chunk does not hold them, do not
// count as used. Bytes after the first 4096 are ignored.
void DecodeTexture(std::span<const uint8_t> chunk, ElementPlane& plane) {
  const size_t supplied = std::min(chunk.size(), FramePixels);
  std::copy_n(chunk.begin(), supplied, plane.Index.begin());
  std::fill(plane.Index.begin() + static_cast<std::ptrdiff_t>(supplied), plane.Index.end(), uint8_t{0});
  plane.Opaque.fill(1);
  plane.Width = FrameSide;
  UsedIndices used;
  used.MarkAll(chunk.data(), supplied);
  plane.Colors = used.Count();
}

// Without `holes` only what the viewer's bitmap reads is set: the indices
// of the columns up to the next multiple of 8 after the last, which pad the
// rows and fill the last 8-column block that WriteBmp reads.
void DecodeSprite(std::span<const uint8_t> chunk, ElementPlane& plane, bool holes) {
  const SpriteLayout layout = ReadSpriteLayout(chunk);
  plane.First = layout.First;
  plane.Width = layout.Width;
  std::fill_n(plane.Index.begin(), holes ? FramePixels : (layout.Width + 7) / 8 * 8 * FrameSide, uint8_t{0});
  if (holes) plane.Opaque.fill(0);
  UsedIndices used;
  WalkSpriteRuns(chunk, layout.Listed, [&](int32_t c, int32_t top, const uint8_t* pixels, size_t n) {
    const size_t at = static_cast<size_t>(c * FrameSide + top);
    CopyRun(plane.Index.data() + at, pixels, n);
    if (holes) std::memset(plane.Opaque.data() + at, 1, n);
    used.MarkAll(pixels, n);
  });
  plane.Colors = used.Count();
}

void Decode(std::span<const uint8_t> chunk, SectionKind section, ElementPlane& plane, bool holes) {
  plane.First = plane.Width = 0;
  plane.Colors = 0;
  if (section == SectionKind::Texture) DecodeTexture(chunk, plane);
  if (section == SectionKind::Sprite) DecodeSprite(chunk, plane, holes);
  if (section == SectionKind::Unknown) {
    plane.Index.fill(0);
    plane.Opaque.fill(0);
  }
}

}  // namespace

std::span<const uint8_t> WholeChunk(const ByteView& data, ByteVector& copy) {
  const std::span<const uint8_t> held = data.StoredBytes();
  if (held.size() >= data.Size) return held.first(data.Size);
  copy.resize(data.Size);
  ByteReader(held).Read(copy.data(), copy.size());
  return {copy.data(), copy.size()};
}

ElementPlane DecodePlane(std::span<const uint8_t> chunk, SectionKind section) {
  ElementPlane plane;
  Decode(chunk, section, plane, true);
  return plane;
}

void WriteBmpImage(const ElementPlane& plane, BmpHeadBytes& head, MemoryStream& image) {
  WriteBmp(plane.Index.data(), plane.Width, head, image);
}

uint16_t WriteElementImage(const ByteView& data, SectionKind section, MemoryStream& image) {
  if (section == SectionKind::Unknown) return 0;
  const std::span<const uint8_t> held = data.StoredBytes();
  if (section == SectionKind::Texture && held.size() >= FramePixels) {
    // The whole picture in memory: read where it lies.
    UsedIndices used;
    used.MarkAll(held.data(), FramePixels);
    WriteBmp(held.data(), FrameSide, BmpTemplate, image);
    return used.Count();
  }
  ByteVector copy;
  ElementPlane plane;
  Decode(WholeChunk(data, copy), section, plane, false);
  WriteBmpImage(plane, BmpTemplate, image);
  return plane.Colors;
}

void DecodeElement(RWlFile& file, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= file.Chunks.size()) return;
  const SectionKind section = SectionOf(static_cast<uint32_t>(index));
  if (section == SectionKind::Unknown) return;
  RWlChunk& entry = file.Chunks[static_cast<size_t>(index)];
  MemoryStream image;
  entry.Colors = WriteElementImage(entry.Data, section, image);
  image.Seek(0, SeekOrigin::Begin);
  entry.Image = std::make_unique<Bitmap>();
  entry.Image->TakeFromStream(image);
}

bool EnsureDecoded(RWlFile& file, uint32_t index) {
  if (index >= file.Chunks.size() || SectionOf(index) == SectionKind::Unknown) return false;
  if (file.Chunks[index].Image) return false;
  DecodeElement(file, static_cast<int32_t>(index));
  return true;
}
