// Any bytes as a texture or sprite chunk (the first byte chooses which), in
// the frame: the framing must draw exactly what the decoder draws, at the
// sprite's place, and the framed PNG must read back as the same picture,
// the framed one as its base.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/picturereader.h"
#include "pagefile/wlfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (InitBmpTemplate(), true);
  if (!ready || size < 1 || size > 1 + 65535) return 0;
  const SectionKind section = data[0] & 1 ? SectionKind::Sprite : SectionKind::Texture;
  const std::span<const uint8_t> chunk(data + 1, size - 1);
  const FramedPicture framed = FrameElement(chunk, section);

  MemoryStream image;
  const auto bytes = static_cast<uint32_t>(chunk.size());
  WriteElementImage({chunk.data(), bytes, bytes}, section, image);
  const auto width = static_cast<int32_t>(ReadLe32(image.Bytes().data() + BiWidthOffset));
  const int32_t rowBytes = (width + 3) / 4 * 4;
  const int32_t first = section == SectionKind::Sprite && chunk.size() >= 4 ? ReadLe16(chunk.data()) : 0;
  for (int32_t x = 0; x < FrameSide; ++x) {
    for (int32_t y = 0; y < FrameSide; ++y) {
      const auto at = static_cast<size_t>(x * FrameSide + y);
      const int32_t k = x - first;
      if (k < 0 || k >= width) {
        if (framed.Opaque[at]) std::abort();
        continue;
      }
      const uint8_t shown = image.Bytes()[BmpHeadSize + static_cast<size_t>((63 - y) * rowBytes + k)];
      if (shown != (framed.Opaque[at] ? framed.Index[at] : 0)) std::abort();
      if (section == SectionKind::Texture && !framed.Opaque[at]) std::abort();
    }
  }

  std::vector<uint8_t> png;
  std::string error;
  bool rgba = false;
  if (!EncodeFramedPng(framed, BuiltInPalette(), png, rgba, error)) std::abort();
  if (rgba != (TransparentIndex(framed) < 0 && !FullyOpaque(framed))) std::abort();
  static const PaletteMatcher palette(BuiltInPalette());
  const PictureRead read = ReadFramedPng(png, {&palette, false, &framed});
  if (!read.Errors.empty() || read.Picture.Opaque != framed.Opaque) std::abort();
  for (size_t at = 0; at < framed.Index.size(); ++at)
    if (framed.Opaque[at] && read.Picture.Index[at] != framed.Index[at]) std::abort();
  return 0;
}
