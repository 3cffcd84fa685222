// Any bytes as a sound file: libsndfile on damaged input, and the conversion
// after it, must fail cleanly or give no more samples than asked for.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "sound/gamesound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> samples;
  std::string error;
  const bool ok = DecodeGameSound(std::span<const uint8_t>(data, size), 65535, samples, error);
  if (ok ? samples.size() > 65535 : error.empty()) std::abort();
  return 0;
}
