// Any bytes as a BMP picture file, read through the bitmap parser and mapped to the
// palette.
#include "fuzz/picturereader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzPictureReader(data, size, ReadFramedBmp);
}
