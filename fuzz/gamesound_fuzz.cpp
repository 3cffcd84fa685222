// Any bytes as a sound file: libsndfile on damaged input, and the conversion
// after it, must fail cleanly or give no more samples than asked for.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "sound/gamesound.h"

// Each run sets libsndfile up afresh, with libFLAC, libvorbis or libmpg123
// behind it: some hundred kilobytes allocated and freed. AddressSanitizer
// holds freed memory back to catch uses of it, 256 MB by default, and that
// (no leak: libFuzzer looks for those) is what took the target to 400 MB
// within a minute, close to its limit of 512. A quarantine of 64 MB still
// holds what the last hundred runs freed.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> samples;
  std::string error;
  const bool ok = DecodeGameSound(std::span<const uint8_t>(data, size), 65535, samples, error);
  if (ok ? samples.size() > 65535 : error.empty()) std::abort();
  return 0;
}
