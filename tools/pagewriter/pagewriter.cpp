#include "pagewriter.h"

#include <filesystem>
#include <fstream>

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
  uint32_t at = static_cast<uint32_t>(6 + 6 * n);
  for (const PageChunk& c : layout.Chunks) {
    Put32(out, c.Offset.value_or(at));
    at += static_cast<uint32_t>(c.Bytes.size());
  }
  for (const PageChunk& c : layout.Chunks) Put16(out, c.Size.value_or(static_cast<uint16_t>(c.Bytes.size())));
  for (const PageChunk& c : layout.Chunks) out.insert(out.end(), c.Bytes.begin(), c.Bytes.end());
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
  std::vector<uint8_t> out;
  out.reserve(4096);
  for (const auto& column : picture) out.insert(out.end(), column.begin(), column.end());
  return out;
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
      Put16(out, r.Ignored);
      Put16(out, r.StartTimes2);
    }
    Put16(out, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeSprite(const SpritePicture& picture) {
  int first = -1;
  int last = -1;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      if (picture[x][y] >= 0) {
        if (first < 0) first = x;
        last = x;
      }
    }
  }
  if (first < 0) first = last = 32;  // a blank sprite still has one column

  std::vector<std::vector<RawRun>> columns;
  std::vector<uint8_t> pool;
  for (int x = first; x <= last; ++x) {
    std::vector<RawRun> runs;
    int y = 0;
    while (y < 64) {
      if (picture[x][y] < 0) {
        ++y;
        continue;
      }
      const int start = y;
      while (y < 64 && picture[x][y] >= 0) pool.push_back(static_cast<uint8_t>(picture[x][y++]));
      // The middle word is ignored by readers; the game stores a pool offset there.
      runs.push_back({static_cast<uint16_t>(y * 2), 0, static_cast<uint16_t>(start * 2)});
    }
    columns.push_back(std::move(runs));
  }
  return EncodeSpriteRuns(static_cast<uint16_t>(first), static_cast<uint16_t>(last), columns, pool);
}
