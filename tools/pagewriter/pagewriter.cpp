#include "pagewriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "imaging/spriteencoder.h"

namespace {
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

void Set16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
}  // namespace

std::vector<uint8_t> BuildPageFile(const PageFileLayout& layout) {
  const size_t n = layout.Chunks.size();
  std::vector<uint8_t> out;
  Put16(out, layout.Count.value_or(static_cast<uint16_t>(n)));
  Put16(out, layout.FirstSprite);
  Put16(out, layout.FirstSound);
  // Where each chunk's bytes go: one after another, or each at the next
  // multiple of the alignment, empty chunks at offset 0.
  std::vector<uint32_t> at(n);
  uint32_t end = static_cast<uint32_t>(6 + 6 * n);
  for (size_t i = 0; i < n; ++i) {
    const uint32_t align = layout.Align.value_or(1);
    if (layout.Align && layout.Chunks[i].Bytes.empty()) continue;
    end += layout.Chunks[i].Gap;
    at[i] = (end + align - 1) / align * align;
    end = at[i] + static_cast<uint32_t>(layout.Chunks[i].Bytes.size());
  }
  for (size_t i = 0; i < n; ++i) Put32(out, layout.Chunks[i].Offset.value_or(at[i]));
  for (const PageChunk& c : layout.Chunks) Put16(out, c.Size.value_or(static_cast<uint16_t>(c.Bytes.size())));
  for (size_t i = 0; i < n; ++i) {
    if (layout.Align && layout.Chunks[i].Bytes.empty()) continue;
    out.resize(out.size() + layout.Chunks[i].Gap, 0xEE);
    out.resize(std::max<size_t>(out.size(), at[i]), 0);
    out.insert(out.end(), layout.Chunks[i].Bytes.begin(), layout.Chunks[i].Bytes.end());
  }
  out.insert(out.end(), layout.Trailing.begin(), layout.Trailing.end());
  if (layout.PadTo) out.resize((out.size() + *layout.PadTo - 1) / *layout.PadTo * *layout.PadTo, 0);
  if (layout.TruncateAt && *layout.TruncateAt < out.size()) out.resize(*layout.TruncateAt);
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  // Through a filesystem path, so that UTF-8 names work on Windows too.
  std::ofstream out(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

bool WritePageFile(const std::string& path, const PageFileLayout& layout) {
  return WriteBytes(path, BuildPageFile(layout));
}

std::vector<uint8_t> EncodeTexture(const TexturePicture& picture) {
  FramedPicture framed;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) framed.Index[static_cast<size_t>(64 * x + y)] = picture[x][y];
  return EncodeTextureChunk(framed);
}

std::vector<uint8_t> EncodeSpriteRuns(uint16_t first, uint16_t last,
                                      const std::vector<std::vector<RawRun>>& columns,
                                      const std::vector<uint8_t>& pool) {
  std::vector<uint8_t> out;
  Put16(out, first);
  Put16(out, last);
  const size_t tableAt = out.size();
  out.resize(out.size() + 2 * columns.size(), 0);
  out.insert(out.end(), pool.begin(), pool.end());
  for (size_t c = 0; c < columns.size(); ++c) {
    Set16(out, tableAt + 2 * c, static_cast<uint16_t>(out.size()));
    for (const RawRun& r : columns[c]) {
      Put16(out, r.EndTimes2);
      Put16(out, r.Source);
      Put16(out, r.StartTimes2);
    }
    Put16(out, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeSprite(const SpritePicture& picture) {
  FramedPicture framed;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const size_t at = static_cast<size_t>(64 * x + y);
      framed.Opaque[at] = picture[x][y] >= 0;
      framed.Index[at] = static_cast<uint8_t>(std::max<int16_t>(picture[x][y], 0));
    }
  }
  return EncodeSpriteChunk(framed);
}

SpritePicture BlankSprite() {
  SpritePicture p{};
  for (auto& column : p) column.fill(-1);
  return p;
}

void AddSoundEntry(std::vector<uint8_t>& table, uint16_t page, uint16_t bytes) {
  table.insert(table.end(), {static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8),
                             static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8)});
}

void AddSounds(PageFileLayout& layout, const std::vector<uint32_t>& lengths) {
  std::vector<uint8_t> table;
  for (size_t s = 0; s < lengths.size(); ++s) {
    AddSoundEntry(table, static_cast<uint16_t>(layout.Chunks.size() - layout.FirstSound),
                  static_cast<uint16_t>(lengths[s]));
    for (uint32_t at = 0; at < lengths[s]; at += 4096) {
      std::vector<uint8_t> bytes(std::min<uint32_t>(4096, lengths[s] - at));
      for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>((s + at + k) % 251);
      layout.Chunks.push_back({bytes, {}, {}});
    }
  }
  layout.Chunks.push_back({table, {}, {}});
}
