// Any bytes as a PNG picture file, read through libspng and mapped to the
// palette.
#include "fuzz/picturereader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzPictureReader(data, size, ReadFramedPng);
}
