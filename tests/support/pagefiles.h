// Page files loaded from bytes in memory, their chunks' bytes, and a sprite
// with nothing drawn.
#pragma once

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

inline SpritePicture BlankSprite() {
  SpritePicture p{};
  for (auto& column : p) column.fill(-1);
  return p;
}
