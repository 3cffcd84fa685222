// BMP file images made by hand, for the bitmap parser's tests and seeds.
#pragma once

#include <cstdint>
#include <vector>

#include "base/bytes.h"

// An uncompressed BMP file image with `colors` table entries (entry i of
// blue i) and `rowBytes` bytes of rows counting up.
inline std::vector<uint8_t> BmpFile(int32_t width, int32_t height, uint16_t bits, uint32_t colors,
                                    size_t rowBytes) {
  std::vector<uint8_t> b(54 + colors * 4, 0);
  b[0] = 'B';
  b[1] = 'M';
  WriteLe32(&b[10], static_cast<uint32_t>(54 + colors * 4));
  WriteLe32(&b[14], 40);
  WriteLe32(&b[18], static_cast<uint32_t>(width));
  WriteLe32(&b[22], static_cast<uint32_t>(height));
  WriteLe16(&b[26], 1);
  WriteLe16(&b[28], bits);
  for (uint32_t i = 0; i < colors; ++i) b[54 + 4 * i] = static_cast<uint8_t>(i);
  for (size_t i = 0; i < rowBytes; ++i) b.push_back(static_cast<uint8_t>(i));
  WriteLe32(&b[2], static_cast<uint32_t>(b.size()));
  return b;
}
