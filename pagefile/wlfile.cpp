#include "pagefile/wlfile.h"

#include <algorithm>
#include <new>

#include "base/bytes.h"

SectionKind SectionOf(uint32_t index) {
  if (index < TextureChunks) return SectionKind::Texture;
  if (index - TextureChunks < SpriteChunks) return SectionKind::Sprite;
  return SectionKind::Unknown;
}

void FreeWlFile(RWlFile& file) {
  for (RWlChunk& chunk : file.Chunks) {
    chunk.Image.reset();
    chunk.Data.reset();
  }
  file.Chunks.clear();
  file.Chunks.shrink_to_fit();
}

namespace {

constexpr size_t kHeaderSize = 6;

uint16_t ReadCount(FileStream& in) {
  uint8_t count[2] = {};
  in.Seek(0, SeekOrigin::Begin);
  if (in.Read(count, sizeof count) != sizeof count) return 0;
  return ReadLe16(count);
}

void ReadDirectory(FileStream& in, RWlFile& file) {
  const size_t n = file.Chunks.size();
  // Fields the file does not hold stay 0.
  std::vector<uint8_t> dir(n * 6, 0);
  in.Seek(kHeaderSize, SeekOrigin::Begin);
  in.Read(dir.data(), dir.size());
  for (size_t i = 0; i < n; ++i) {
    file.Chunks[i].Offset = ReadLe32(dir.data() + 4 * i);
    file.Chunks[i].Size = ReadLe16(dir.data() + 4 * n + 2 * i);
  }
}

void CountSections(RWlFile& file, LoadObserver* observer) {
  file.TextureCount = file.SpriteCount = file.UnknownCount = 0;
  file.TextureBytes = file.SpriteBytes = file.UnknownBytes = 0;
  for (size_t i = 0; i < file.Chunks.size(); ++i) {
    const auto index = static_cast<uint32_t>(i);
    const SectionKind kind = SectionOf(index);
    uint16_t* count = &file.UnknownCount;
    int64_t* bytes = &file.UnknownBytes;
    if (kind == SectionKind::Texture) {
      count = &file.TextureCount;
      bytes = &file.TextureBytes;
    } else if (kind == SectionKind::Sprite) {
      count = &file.SpriteCount;
      bytes = &file.SpriteBytes;
    }
    ++*count;
    *bytes += file.Chunks[i].Size;
    if (observer) observer->ChunkCounted(file, index, kind, *count);
  }
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

// Reads the bytes of every chunk once: the ranges that chunks cover are merged
// and read into one shared buffer, and each chunk's Data is a view into it.
// Overlapping chunks therefore share their bytes, and memory never exceeds
// the file's own size however the directory is laid out.
void ReadChunkData(FileStream& in, RWlFile& file) {
  const auto fileSize = static_cast<uint64_t>(std::max<int64_t>(in.Size(), 0));
  std::vector<Span> spans;
  spans.reserve(file.Chunks.size());
  for (const RWlChunk& chunk : file.Chunks) {
    const Span s = StoredSpan(chunk, fileSize);
    if (s.end > s.begin) spans.push_back(s);
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });

  // Merged segments and where each starts in the buffer.
  std::vector<Span> segments;
  std::vector<uint64_t> bases;
  uint64_t total = 0;
  for (const Span& s : spans) {
    if (!segments.empty() && s.begin <= segments.back().end) {
      const uint64_t grown = std::max(segments.back().end, s.end);
      total += grown - segments.back().end;
      segments.back().end = grown;
    } else {
      bases.push_back(total);
      segments.push_back(s);
      total += s.end - s.begin;
    }
  }

  auto buffer = std::make_shared<std::vector<uint8_t>>();
  try {
    buffer->assign(static_cast<size_t>(total), 0);
  } catch (const std::bad_alloc&) {
    // Out of memory: the chunks keep their sizes and read as zeros.
    segments.clear();
    bases.clear();
  }
  for (size_t k = 0; k < segments.size(); ++k) {
    in.Seek(static_cast<int64_t>(segments[k].begin), SeekOrigin::Begin);
    in.Read(buffer->data() + bases[k], static_cast<size_t>(segments[k].end - segments[k].begin));
  }

  for (RWlChunk& chunk : file.Chunks) {
    const Span s = StoredSpan(chunk, fileSize);
    size_t first = 0;
    size_t stored = 0;
    if (s.end > s.begin && !segments.empty()) {
      const auto it = std::upper_bound(segments.begin(), segments.end(), s.begin,
                                       [](uint64_t at, const Span& seg) { return at < seg.begin; });
      const size_t k = static_cast<size_t>(it - segments.begin()) - 1;
      first = static_cast<size_t>(bases[k] + (s.begin - segments[k].begin));
      stored = static_cast<size_t>(s.end - s.begin);
    }
    chunk.Data = std::make_unique<ByteViewStream>(buffer, first, stored, chunk.Size);
  }
}

}  // namespace

void LoadPageFile(RWlFile& file, const std::string& path, LoadObserver* observer) {
  FreeWlFile(file);
  file.FileName = path;
  file.FileSize = 0;

  FileStream in(path);
  if (in.IsOpen()) file.FileSize = in.Size();
  // An unreadable file, or one too short for its count, is an empty table.
  const uint16_t n = in.IsOpen() ? ReadCount(in) : 0;
  file.Chunks.resize(n);
  ReadDirectory(in, file);
  if (observer) observer->DirectoryRead(file);
  CountSections(file, observer);
  ReadChunkData(in, file);
}
