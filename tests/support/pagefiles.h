// Page files loaded from bytes in memory, and their chunks' bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "base/bytereader.h"
#include "base/streams.h"
#include "pagefile/wlfile.h"

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
