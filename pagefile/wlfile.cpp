#include "pagefile/wlfile.h"

#include <algorithm>
#include <new>

#include "base/bytereader.h"

SectionKind SectionOf(uint32_t index) {
  if (index < TextureChunks) return SectionKind::Texture;
  if (index - TextureChunks < SpriteChunks) return SectionKind::Sprite;
  return SectionKind::Unknown;
}

void FreeWlFile(RWlFile& file) {
  // Each entry's image goes one by one; the entries' data are views into
  // the file's bytes, which go with them at the end.
  for (RWlChunk& chunk : file.Chunks) chunk.Image.reset();
  file.Chunks.clear();
  file.Chunks.shrink_to_fit();
  file.Bytes = ByteVector();
}

std::span<const uint8_t> ChunkBytes(const RWlFile& file, uint32_t index) {
  if (index >= file.Chunks.size()) return {};
  return file.Chunks[index].Data.StoredBytes();
}

namespace {

constexpr size_t kHeaderSize = 6;

uint16_t ReadCount(Stream& in) {
  uint8_t count[2] = {};
  in.Seek(0, SeekOrigin::Begin);
  if (in.Read(count, sizeof count) != sizeof count) return 0;
  return ByteReader(count).Le16();
}

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

// The stretch of the file that the chunks cover, empty when they cover none
// of it. The directory's fields follow the header: the offsets, then the
// sizes; fields the stream does not hold read as 0.
Span CoveredSpan(std::span<const uint8_t> fields, size_t n, uint64_t fileSize) {
  ByteReader offsets(fields);
  ByteReader sizes(fields);
  sizes.Seek(4 * n);
  Span covered{fileSize, 0};
  for (size_t i = 0; i < n; ++i) {
    const uint64_t offset = offsets.Le32();
    const uint16_t size = sizes.Le16();
    const uint64_t begin = std::min(offset, fileSize);
    const uint64_t end = std::min(offset + size, fileSize);
    if (end == begin) continue;
    covered.begin = std::min(covered.begin, begin);
    covered.end = std::max(covered.end, end);
  }
  return covered.end > covered.begin ? covered : Span{0, 0};
}

// Reads the stretch that the chunks cover in one piece. Overlapping chunks
// share their bytes, and memory never exceeds the file's own size however
// the directory is laid out.
void ReadChunkBytes(Stream& in, Span covered, RWlFile& file) {
  try {
    file.Bytes.resize(static_cast<size_t>(covered.end - covered.begin));
  } catch (const std::bad_alloc&) {
    // Out of memory: the chunks keep their sizes and read as zeros.
    file.Bytes = ByteVector();
  }
  in.Seek(static_cast<int64_t>(covered.begin), SeekOrigin::Begin);
  const size_t got = in.Read(file.Bytes.data(), file.Bytes.size());
  std::fill(file.Bytes.begin() + static_cast<std::ptrdiff_t>(got), file.Bytes.end(), uint8_t{0});
}

// Makes the table in one walk: each entry with its directory fields and its
// Data pointing into the file's bytes, and the sections counted.
void FillTable(RWlFile& file, std::span<const uint8_t> fields, size_t n, uint64_t coveredBegin) {
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
    if (s.end > s.begin && !file.Bytes.empty()) {
      chunk.Data.Bytes = file.Bytes.data() + (s.begin - coveredBegin);
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
  uint32_t counts[3] = {};
  for (size_t i = 0; i < file.Chunks.size(); ++i) {
    const auto index = static_cast<uint32_t>(i);
    const SectionKind kind = SectionOf(index);
    observer.ChunkCounted(file, index, kind, ++counts[static_cast<size_t>(kind)]);
  }
}

}  // namespace

void LoadPageFile(RWlFile& file, Stream& in, const std::string& name, LoadObserver* observer) {
  FreeWlFile(file);
  file.FileName = name;
  file.FileSize = std::max<int64_t>(in.Size(), 0);
  // A stream too short for its count is an empty table.
  const size_t n = ReadCount(in);
  ByteVector dir(n * 6);
  in.Seek(kHeaderSize, SeekOrigin::Begin);
  const std::span<const uint8_t> fields(dir.data(), in.Read(dir.data(), dir.size()));
  const Span covered = CoveredSpan(fields, n, static_cast<uint64_t>(file.FileSize));
  if (covered.end > covered.begin) ReadChunkBytes(in, covered, file);
  FillTable(file, fields, n, covered.begin);
  if (observer) Report(file, *observer);
}

void LoadPageFile(RWlFile& file, const std::string& path, LoadObserver* observer) {
  FileStream in(path);
  LoadPageFile(file, in, path, observer);
}
