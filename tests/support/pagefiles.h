// Page files loaded from bytes in memory, their chunks' bytes, sounds and
// their table for a page file, and a sprite with nothing drawn.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/bytereader.h"
#include "base/streams.h"
#include "pagefile/wlfile.h"
#include "pagewriter.h"

// `file` loaded anew, as the viewer reloads it, from bytes in memory.
inline void LoadFrom(RWlFile& file, const std::vector<uint8_t>& bytes) {
  MemoryStream in;
  in.Write(bytes.data(), bytes.size());
  LoadPageFile(file, in, "vswap.wl6");
}

inline RWlFile LoadedFrom(const std::vector<uint8_t>& bytes) {
  RWlFile file;
  LoadFrom(file, bytes);
  return file;
}

// A chunk's Size bytes: those the file holds, then zeros.
inline std::vector<uint8_t> ChunkBytes(const RWlFile& file, size_t i) {
  std::vector<uint8_t> bytes(file.Chunks[i].Size);
  ByteReader(file.Chunks[i].Data.StoredBytes()).Read(bytes.data(), bytes.size());
  return bytes;
}

// After the chunks `layout` has, from its sound start on, the pages of 4096
// bytes of sounds of these lengths, then their table. Sample k of sound s
// is (s + k) % 251.
inline void AddSounds(PageFileLayout& layout, const std::vector<uint32_t>& lengths) {
  std::vector<uint8_t> table;
  for (size_t s = 0; s < lengths.size(); ++s) {
    const auto page = static_cast<uint16_t>(layout.Chunks.size() - layout.FirstSound);
    table.insert(table.end(), {static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8),
                               static_cast<uint8_t>(lengths[s]), static_cast<uint8_t>(lengths[s] >> 8)});
    for (uint32_t at = 0; at < lengths[s]; at += 4096) {
      std::vector<uint8_t> bytes(std::min(4096u, lengths[s] - at));
      for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>((s + at + k) % 251);
      layout.Chunks.push_back({bytes, {}, {}});
    }
  }
  layout.Chunks.push_back({table, {}, {}});
}

inline SpritePicture BlankSprite() {
  SpritePicture p{};
  for (auto& column : p) column.fill(-1);
  return p;
}
