// A loaded page file for the benchmarks, shaped like the game's.
#pragma once

#include <vector>

#include "imaging/bmptemplate.h"
#include "pagefile/wlfile.h"
#include "pagewriter.h"

// 106 textures and 435 sprites shaped like the game's: sprites of 16 to 64
// columns, each column a few runs with gaps between them.
inline RWlFile& FullSizeElements() {
  static RWlFile file = [] {
    RWlFile f;
    f.Chunks.resize(TextureChunks + SpriteChunks);
    for (uint32_t i = 0; i < f.Chunks.size(); ++i) {
      std::vector<uint8_t> bytes;
      if (i < TextureChunks) {
        TexturePicture t{};
        for (int x = 0; x < 64; ++x)
          for (int y = 0; y < 64; ++y) t[x][y] = static_cast<uint8_t>(i * 31 + x * 7 + y * 3);
        bytes = EncodeTexture(t);
      } else {
        SpritePicture s = BlankSprite();
        const int width = 16 + static_cast<int>(i * 13 % 49);
        const int first = (64 - width) / 2;
        for (int x = first; x < first + width; ++x)
          for (int y = 4; y < 64; ++y)
            if ((x * 5 + y) % 23 > 4) s[x][y] = static_cast<int16_t>((i + x + y) % 256);
        bytes = EncodeSprite(s);
      }
      f.Chunks[i].Size = static_cast<uint16_t>(bytes.size());
      f.Bytes.insert(f.Bytes.end(), bytes.begin(), bytes.end());
    }
    size_t at = 0;
    for (RWlChunk& e : f.Chunks) {
      e.Data = {f.Bytes.data() + at, e.Size, e.Size};
      at += e.Size;
    }
    InitBmpTemplate();
    return f;
  }();
  return file;
}
