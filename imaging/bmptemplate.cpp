#include "imaging/bmptemplate.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/paletteresource.h"
#include "base/streams.h"

BmpHeadBytes BmpTemplate{};

namespace {

// Writes the fields that every element bitmap's head shares.
void WriteConstantFields(uint8_t* t) {
  t[0] = 'B';
  t[1] = 'M';
  WriteLe16(t + 6, 0);
  WriteLe16(t + 8, 0);
  WriteLe32(t + 10, static_cast<uint32_t>(BmpHeadSize));
  WriteLe32(t + 14, 40);
  WriteLe16(t + 26, 1);
  WriteLe16(t + 28, 8);
  for (size_t field = 30; field < PaletteOffset; field += 4) WriteLe32(t + field, 0);
}

}  // namespace

void InitBmpTemplate() {
  uint8_t* t = BmpTemplate.data();
  WriteConstantFields(t);
  MemoryStream palette;
  LoadPaletteResource(palette);
  palette.Seek(0, SeekOrigin::Begin);
  std::fill(t + PaletteOffset, t + BmpHeadSize, 0);
  palette.Read(t + PaletteOffset, PaletteSize);
}

BmpHeadBytes BmpHead(const Palette& palette) {
  BmpHeadBytes head{};
  WriteConstantFields(head.data());
  WriteBmpTable(palette, head.data() + PaletteOffset);
  return head;
}
