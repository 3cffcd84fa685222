// Any bytes as a BMP file image: the parser must take it whole or leave the
// bitmap empty, alike whether it copies the image or takes it over, and
// never read outside its buffers.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/bitmap.h"
#include "base/streams.h"

namespace {

// The comparison of the two bitmaps reads every byte they hand out, so the
// sanitizer sees any that lie outside their buffers.
void Check(const Bitmap& b) {
  if (b.Empty()) {
    if (b.Width() != 0 || b.Height() != 0 || !b.Bits().empty()) std::abort();
    return;
  }
  if (b.Info().size() < 40) std::abort();
  if (b.Bits().size() != static_cast<size_t>(b.Stride()) * static_cast<size_t>(b.Height())) std::abort();
  if (b.BitCount() == 8) {
    for (int32_t y = 0; y < b.Height(); ++y)
      for (int32_t x = 0; x < b.Width(); ++x)
        if (b.PixelIndex(x, y) < 0) std::abort();
  }
  if (b.PixelIndex(b.Width(), 0) != -1 || b.PixelIndex(0, b.Height()) != -1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bitmap copied;
  const bool loaded = copied.LoadFromBytes({data, size});
  if (loaded == copied.Empty()) std::abort();
  Check(copied);

  MemoryStream in;
  in.Write(data, size);
  in.Seek(0, SeekOrigin::Begin);
  Bitmap taken;
  if (taken.TakeFromStream(in) != loaded) std::abort();
  Check(taken);
  if (!std::equal(copied.Bits().begin(), copied.Bits().end(), taken.Bits().begin(), taken.Bits().end()) ||
      !std::equal(copied.Info().begin(), copied.Info().end(), taken.Info().begin(), taken.Info().end()))
    std::abort();
  return 0;
}
