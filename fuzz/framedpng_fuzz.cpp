// Any bytes as a PNG picture file, read through libspng and mapped to the
// palette. The reader checks every chunk's CRC before anything else, and a
// random change almost never keeps a CRC right; so when the first byte's
// second bit is set, each chunk gets its right CRC first, and what lies
// behind the check is fuzzed too.
#include <libdeflate.h>

#include <vector>

#include "base/bytes.h"
#include "fuzz/picturereader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || !(data[0] & 2)) return FuzzPictureReader(data, size, ReadFramedPng);
  std::vector<uint8_t> fixed(data, data + size);
  // The choice byte, then the signature, then the chunks.
  for (size_t at = 9; at + 12 <= fixed.size();) {
    const uint32_t length = ReadBe32(&fixed[at]);
    if (length > fixed.size() - at - 12) break;
    WriteBe32(&fixed[at + 8 + length], libdeflate_crc32(0, &fixed[at + 4], length + size_t{4}));
    at += length + size_t{12};
  }
  return FuzzPictureReader(fixed.data(), fixed.size(), ReadFramedPng);
}
