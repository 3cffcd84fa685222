#include "pagefile/wlfile.h"

#include <algorithm>
#include <new>

#include "base/bytereader.h"

SectionKind SectionOf(uint32_t index) {
  if (index < TextureChunks) return SectionKind::Texture;
  if (index - TextureChunks < SpriteChunks) return SectionKind::Sprite;
  return SectionKind::Unknown;
}

uint32_t ElementNumber(uint32_t index) {
  switch (SectionOf(index)) {
    case SectionKind::Texture:
      return index + 1;
    case SectionKind::Sprite:
      return index + 1 - TextureChunks;
    case SectionKind::Unknown:
      break;
  }
  return index + 1 - TextureChunks - SpriteChunks;
}

void FreeWlFile(RWlFile& file) {
  // Each entry's image goes one by one; the entries' data are views into
  // the file's bytes, which go with them at the end.
  for (RWlChunk& chunk : file.Chunks) chunk.Image.reset();
  file.Chunks.clear();
  file.Chunks.shrink_to_fit();
  file.Bytes = ByteVector();
}

namespace {

constexpr size_t kHeaderSize = 6;

// The part of the file a chunk covers, clipped to the file's end.
struct Span {
  uint64_t begin;
  uint64_t end;
};

Span StoredSpan(const RWlChunk& chunk, uint64_t fileSize) {
  const uint64_t begin = std::min<uint64_t>(chunk.Offset, fileSize);
  const uint64_t end = std::min<uint64_t>(uint64_t{chunk.Offset} + chunk.Size, fileSize);
  return {begin, end};
}

// No chunk reaches past its 32-bit offset and 16-bit length.
constexpr uint64_t kLargestPageFile = uint64_t{0xFFFFFFFF} + 0xFFFF;

// Reads the whole file in one piece: overlapping chunks share their bytes,
// and memory never exceeds the file's own size however the directory is laid
// out. When there is no memory for that, or the file is larger than any
// page file can be, only the header and the directory are read, and every
// chunk reads as zeros. Bytes the stream does not deliver read as 0.
void ReadFileBytes(Stream& in, RWlFile& file) {
  const auto size = static_cast<uint64_t>(file.FileSize);
  in.Seek(0, SeekOrigin::Begin);
  try {
    if (size > kLargestPageFile || size > SIZE_MAX / 2) throw std::bad_alloc();
    file.Bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    uint8_t count[2] = {};
    const size_t got = in.Read(count, sizeof count);
    const size_t directory = kHeaderSize + 6 * size_t{got == 2 ? ByteReader(count).Le16() : 0u};
    file.Bytes = ByteVector(std::min<uint64_t>(size, directory));
    in.Seek(0, SeekOrigin::Begin);
  }
  const size_t got = in.Read(file.Bytes.data(), file.Bytes.size());
  std::fill(file.Bytes.begin() + static_cast<std::ptrdiff_t>(got), file.Bytes.end(), uint8_t{0});
}

// Makes the table in one walk: each entry with its directory fields and its
// Data pointing into the file's bytes, and the sections counted.
void FillTable(RWlFile& file, std::span<const uint8_t> fields, size_t n, bool chunksHeld) {
  // Counted in locals, which no store to the table can alias, and kept in
  // the file at the end.
  uint16_t counts[3] = {};
  int64_t bytes[3] = {};
  const auto fileSize = static_cast<uint64_t>(file.FileSize);
  ByteReader offsets(fields);
  ByteReader sizes(fields);
  sizes.Seek(4 * n);
  file.Chunks.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    RWlChunk& chunk = file.Chunks.emplace_back();
    chunk.Offset = offsets.Le32();
    chunk.Size = sizes.Le16();
    const auto k = static_cast<size_t>(SectionOf(static_cast<uint32_t>(i)));
    ++counts[k];
    bytes[k] += chunk.Size;

    chunk.Data.Size = chunk.Size;
    const Span s = StoredSpan(chunk, fileSize);
    if (s.end > s.begin && chunksHeld) {
      chunk.Data.Bytes = file.Bytes.data() + s.begin;
      chunk.Data.Stored = static_cast<uint32_t>(s.end - s.begin);
    }
  }
  file.TextureCount = counts[static_cast<size_t>(SectionKind::Texture)];
  file.SpriteCount = counts[static_cast<size_t>(SectionKind::Sprite)];
  file.UnknownCount = counts[static_cast<size_t>(SectionKind::Unknown)];
  file.TextureBytes = bytes[static_cast<size_t>(SectionKind::Texture)];
  file.SpriteBytes = bytes[static_cast<size_t>(SectionKind::Sprite)];
  file.UnknownBytes = bytes[static_cast<size_t>(SectionKind::Unknown)];
}

// Tells the observer about the finished table, chunk by chunk.
void Report(const RWlFile& file, LoadObserver& observer) {
  observer.DirectoryRead(file);
  for (uint32_t i = 0; i < file.Chunks.size(); ++i)
    observer.ChunkCounted(file, i, SectionOf(i), ElementNumber(i));
}

}  // namespace

void LoadPageFile(RWlFile& file, Stream& in, const std::string& name, LoadObserver* observer) {
  FreeWlFile(file);
  file.FileName = name;
  file.FileSize = std::max<int64_t>(in.Size(), 0);
  ReadFileBytes(in, file);
  // Header words the file does not hold whole read as 0; a file too short
  // for its count is an empty table.
  const std::span<const uint8_t> bytes(file.Bytes.data(), file.Bytes.size());
  const auto word = [&](size_t at) {
    return bytes.size() >= at + 2 ? ByteReader(bytes).Le16At(at) : uint16_t{0};
  };
  file.Header = {word(0), word(2), word(4)};
  const size_t n = file.Header.ChunkCount;
  const std::span<const uint8_t> fields = ByteReader(bytes).Span(kHeaderSize, 6 * n);
  FillTable(file, fields, n, file.Bytes.size() == static_cast<uint64_t>(file.FileSize));
  if (observer) Report(file, *observer);
}

bool LoadPageFile(RWlFile& file, const std::string& path, std::string& error, LoadObserver* observer) {
  FileStream in(path);
  LoadPageFile(file, in, path, observer);
  if (!in.IsOpen()) error = in.Problem();
  return in.IsOpen();
}
