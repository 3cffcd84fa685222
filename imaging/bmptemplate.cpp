#include "imaging/bmptemplate.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/paletteresource.h"
#include "base/streams.h"

std::array<uint8_t, BmpHeadSize> BmpTemplate{};

void InitBmpTemplate() {
  uint8_t* t = BmpTemplate.data();
  t[0] = 'B';
  t[1] = 'M';
  WriteLe16(t + 6, 0);
  WriteLe16(t + 8, 0);
  WriteLe32(t + 10, static_cast<uint32_t>(BmpHeadSize));
  WriteLe32(t + 14, 40);
  WriteLe16(t + 26, 1);
  WriteLe16(t + 28, 8);
  for (size_t field = 30; field < PaletteOffset; field += 4) WriteLe32(t + field, 0);

  MemoryStream palette;
  LoadPaletteResource(palette);
  palette.Seek(0, SeekOrigin::Begin);
  std::fill(t + PaletteOffset, t + BmpHeadSize, 0);
  palette.Read(t + PaletteOffset, PaletteSize);
}
