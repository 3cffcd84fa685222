// Any bytes as a palette file named .act or otherwise (the first byte
// chooses): the reader must give 256 colours or a reason naming the file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "imaging/palettefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string name = data[0] & 1 ? "fuzz.act" : "fuzz.pal";
  Palette palette;
  std::string error;
  const bool read = ReadPaletteFile({data + 1, size - 1}, name, palette, error);
  if (read != error.empty() || (!read && error.rfind("'" + name + "': ", 0) != 0)) std::abort();
  return 0;
}
