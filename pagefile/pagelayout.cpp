#include "pagefile/pagelayout.h"

#include <algorithm>
#include <numeric>

#include "base/bytereader.h"
#include "base/bytes.h"

namespace {

constexpr uint64_t kHeaderSize = 6;
constexpr uint64_t kMaxOffset = 0xFFFFFFFF;
constexpr size_t kMaxChunks = 0xFFFF;

uint64_t AlignUp(uint64_t at) { return (at + PageAlignment - 1) / PageAlignment * PageAlignment; }

uint64_t EndOf(const RWlChunk& chunk) { return uint64_t{chunk.Offset} + chunk.Size; }

// The present chunks of `file` in the order of their offsets (then ends).
std::vector<uint32_t> ByOffset(const RWlFile& file) {
  std::vector<uint32_t> order;
  for (uint32_t i = 0; i < file.Chunks.size(); ++i)
    if (file.Chunks[i].Size > 0) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const RWlChunk& x = file.Chunks[a];
    const RWlChunk& y = file.Chunks[b];
    return x.Offset != y.Offset ? x.Offset < y.Offset : x.Size < y.Size;
  });
  return order;
}

// For each chunk, whether some of its bytes are also another present
// chunk's or the directory's: new bytes written over it would change those.
std::vector<bool> SharedBytes(const RWlFile& file, uint64_t directoryEnd) {
  std::vector<bool> shared(file.Chunks.size(), false);
  const std::vector<uint32_t> order = ByOffset(file);
  uint64_t before = directoryEnd;  // the furthest end of everything before
  for (size_t k = 0; k < order.size(); ++k) {
    const RWlChunk& chunk = file.Chunks[order[k]];
    const bool next = k + 1 < order.size() && file.Chunks[order[k + 1]].Offset < EndOf(chunk);
    shared[order[k]] = chunk.Offset < before || next;
    before = std::max(before, EndOf(chunk));
  }
  return shared;
}

// A new chunk's length, or a base chunk's.
size_t SizeOf(const RWlFile& base, const NewChunk& chunk) {
  return chunk.Base == NewChunk::kNew ? chunk.Bytes.size() : base.Chunks[chunk.Base].Size;
}

// Copies a chunk's bytes to `to`: new bytes, or a base chunk's as the loader
// reads it, zeros where the base ends.
void CopyChunk(const RWlFile& base, const NewChunk& chunk, uint8_t* to) {
  if (chunk.Base == NewChunk::kNew)
    std::copy(chunk.Bytes.begin(), chunk.Bytes.end(), to);
  else
    ByteReader(base.Chunks[chunk.Base].Data.StoredBytes()).Read(to, base.Chunks[chunk.Base].Size);
}

}  // namespace

PageLayout ReadPageLayout(const RWlFile& file) {
  PageLayout layout;
  const auto fileSize = static_cast<uint64_t>(file.FileSize);
  layout.DirectoryEnd = kHeaderSize + 6 * uint64_t{file.Chunks.size()};
  if (fileSize < layout.DirectoryEnd) {
    // The lengths come last: an entry is whole when its length is there.
    const uint64_t lengthsAt = kHeaderSize + 4 * uint64_t{file.Chunks.size()};
    const uint64_t held = fileSize > lengthsAt ? (fileSize - lengthsAt) / 2 : 0;
    layout.EntriesMissing = static_cast<uint32_t>(file.Chunks.size() - held);
  }
  layout.LastEnd = layout.DirectoryEnd;
  uint64_t expected = layout.DirectoryEnd;
  for (const uint32_t i : ByOffset(file)) {
    const RWlChunk& chunk = file.Chunks[i];
    ++layout.Present;
    layout.Aligned = layout.Aligned && chunk.Offset % PageAlignment == 0;
    layout.BackToBack = layout.BackToBack && chunk.Offset == expected;
    expected = EndOf(chunk);
    layout.LastEnd = std::max(layout.LastEnd, EndOf(chunk));
  }
  for (uint32_t i = 0; i < file.Chunks.size(); ++i)
    if (EndOf(file.Chunks[i]) > fileSize && file.Chunks[i].Size > 0) layout.PastEnd.push_back(i);
  if (fileSize > layout.LastEnd && file.Bytes.size() == fileSize) {
    layout.Trailing = fileSize - layout.LastEnd;
    const auto tail = file.Bytes.begin() + static_cast<std::ptrdiff_t>(layout.LastEnd);
    layout.ZeroPadding = layout.Trailing < PageAlignment && fileSize % PageAlignment == 0 &&
                         std::all_of(tail, file.Bytes.end(), [](uint8_t b) { return b == 0; });
  } else if (fileSize > layout.LastEnd) {
    layout.Trailing = fileSize - layout.LastEnd;
  }
  return layout;
}

bool AssemblePageFile(const RWlFile& base, std::span<const NewChunk> chunks, std::vector<uint8_t>& out,
                      std::string& error) {
  const size_t n = chunks.size();
  if (n > kMaxChunks) {
    error = "the file would have " + std::to_string(n) + " chunks, " + std::to_string(n - kMaxChunks) +
            " more than the 65535 its count can hold";
    return false;
  }
  const auto fileSize = static_cast<uint64_t>(base.FileSize);
  if (base.Bytes.size() != fileSize) {
    error = "the base file could not be read whole into memory";
    return false;
  }
  // Bytes the base's table claims but the file does not hold are copied as
  // zeros. A little of that is a file cut short; more than the file holds
  // is a table too damaged to copy, whose new file would be mostly zeros,
  // up to gigabytes from a file of kilobytes.
  uint64_t missing = 0;
  for (const NewChunk& c : chunks)
    if (c.Base != NewChunk::kNew) missing += base.Chunks[c.Base].Size - base.Chunks[c.Base].Data.Stored;
  if (missing > fileSize) {
    error = "the base's table claims " + std::to_string(missing) + " bytes past its end, more than the " +
            std::to_string(fileSize) + " bytes the file holds: it is too damaged to pack";
    return false;
  }

  const PageLayout layout = ReadPageLayout(base);
  const uint64_t directoryEnd = kHeaderSize + 6 * uint64_t{n};
  // The chunks before `first` stay where the base has them: each is the
  // base's own chunk at that index, or new bytes of its length that
  // overwrite no byte another chunk or the directory reads.
  const std::vector<bool> shared = SharedBytes(base, layout.DirectoryEnd);
  size_t first = 0;
  for (; first < n && first < base.Chunks.size(); ++first) {
    const NewChunk& c = chunks[first];
    const RWlChunk& old = base.Chunks[first];
    if (c.Base == first) continue;
    if (c.Base == NewChunk::kNew && c.Bytes.size() == old.Size && old.Size > 0 && !shared[first]) continue;
    break;
  }

  // A directory that grows may reach chunks that would otherwise stay, and
  // one that shrinks leaves zeros where its old entries were. A chunk that
  // runs past the end of the base is laid out anew, so that the new file
  // does not reach as far as its offset says.
  const uint64_t directories = std::max(directoryEnd, layout.DirectoryEnd);
  for (size_t i = 0; i < first; ++i) {
    const RWlChunk& chunk = base.Chunks[i];
    if (chunk.Size > 0 && (chunk.Offset < directories || EndOf(chunk) > fileSize)) {
      first = i;
      break;
    }
  }
  uint64_t end = directoryEnd;
  for (size_t i = 0; i < first; ++i)
    if (base.Chunks[i].Size > 0) end = std::max(end, EndOf(base.Chunks[i]));
  const uint64_t kept = std::min(end, fileSize);
  std::vector<uint32_t> offsets(n);
  for (size_t i = 0; i < first; ++i) offsets[i] = base.Chunks[i].Offset;
  for (size_t i = first; i < n; ++i) {
    const size_t size = SizeOf(base, chunks[i]);
    if (size == 0) {
      offsets[i] = chunks[i].Base != NewChunk::kNew ? base.Chunks[chunks[i].Base].Offset : 0;
      continue;
    }
    const uint64_t at = layout.Aligned ? AlignUp(end) : end;
    if (at > kMaxOffset) {
      error = "the new file would be larger than the 4 GiB that its offsets can reach";
      return false;
    }
    offsets[i] = static_cast<uint32_t>(at);
    end = at + size;
  }
  uint64_t total = end;
  if (layout.ZeroPadding)
    total = AlignUp(end);
  else
    total += layout.Trailing;
  // Chunks that share their bytes in the base each get their own in the new
  // file. Real files share a page at most here and there; a directory whose
  // chunks all overlap would make a file of gigabytes from one of kilobytes.
  uint64_t added = 0;
  for (const NewChunk& c : chunks) added += c.Base == NewChunk::kNew ? c.Bytes.size() : 0;
  const uint64_t limit = 2 * fileSize + added + uint64_t{PageAlignment} * (n + 1);
  if (total > limit) {
    error = "the base's chunks share their bytes so much that the new file would have " +
            std::to_string(total) + " bytes, from a base of " + std::to_string(fileSize) +
            ": it is too damaged to pack";
    return false;
  }

  // What stays comes with the bytes between it; the header and the
  // directory are written over them.
  out.assign(static_cast<size_t>(total), 0);
  std::copy_n(base.Bytes.begin(), static_cast<size_t>(kept), out.begin());
  if (kept > directoryEnd)
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(directoryEnd),
              out.begin() + static_cast<std::ptrdiff_t>(std::min(kept, directories)), uint8_t{0});
  WriteLe16(out.data(), static_cast<uint16_t>(n));
  WriteLe16(out.data() + 2, base.Header.SpriteStart);
  WriteLe16(out.data() + 4, base.Header.SoundStart);
  for (size_t i = 0; i < n; ++i) {
    WriteLe32(out.data() + kHeaderSize + 4 * i, offsets[i]);
    WriteLe16(out.data() + kHeaderSize + 4 * n + 2 * i, static_cast<uint16_t>(SizeOf(base, chunks[i])));
    if (SizeOf(base, chunks[i]) > 0 && (i >= first || chunks[i].Base == NewChunk::kNew))
      CopyChunk(base, chunks[i], out.data() + offsets[i]);
  }
  if (!layout.ZeroPadding && layout.Trailing > 0)
    std::copy(base.Bytes.end() - static_cast<std::ptrdiff_t>(layout.Trailing), base.Bytes.end(),
              out.begin() + static_cast<std::ptrdiff_t>(end));
  return true;
}
