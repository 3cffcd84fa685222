#include "imaging/framing.h"

#include <algorithm>
#include <cstring>

#include "imaging/spriteruns.h"

FramedPicture Framed(const ElementPlane& plane) {
  FramedPicture picture;
  // Columns past the frame's right edge are left out.
  const int32_t inFrame = std::clamp(FrameSide - plane.First, 0, plane.Width);
  const size_t at = static_cast<size_t>(std::min(plane.First, FrameSide)) * FrameSide;
  const size_t n = static_cast<size_t>(inFrame) * FrameSide;
  std::copy_n(plane.Index.begin(), n, picture.Index.begin() + static_cast<std::ptrdiff_t>(at));
  std::copy_n(plane.Opaque.begin(), n, picture.Opaque.begin() + static_cast<std::ptrdiff_t>(at));
  return picture;
}

FramedPicture FrameElement(std::span<const uint8_t> chunk, SectionKind section) {
  return Framed(DecodePlane(chunk, section));
}

std::optional<std::vector<uint8_t>> RepaintChunk(std::span<const uint8_t> chunk, SectionKind section,
                                                 const FramedPicture& picture) {
  std::vector<uint8_t> bytes(chunk.begin(), chunk.end());
  if (section == SectionKind::Texture) {
    std::copy_n(picture.Index.begin(), std::min(bytes.size(), FramePixels), bytes.begin());
  } else if (section == SectionKind::Sprite) {
    const SpriteLayout layout = ReadSpriteLayout(chunk);
    const int32_t inFrame = std::clamp(FrameSide - layout.First, 0, layout.Listed);
    WalkSpriteRuns(chunk, inFrame, [&](int32_t c, int32_t top, const uint8_t* pixels, size_t n) {
      // Pixels that the chunk does not hold cannot change; the check below
      // finds out whether they needed to.
      if (pixels == OutsideChunk) return;
      const size_t at = static_cast<size_t>((layout.First + c) * FrameSide + top);
      std::copy_n(picture.Index.begin() + static_cast<std::ptrdiff_t>(at), n,
                  bytes.begin() + (pixels - chunk.data()));
    });
  }
  // Every pixel as the picture has it, whatever bytes the runs share.
  if (FrameElement(bytes, section) != picture) return std::nullopt;
  return bytes;
}

int TransparentIndex(const FramedPicture& picture) {
  // Stores only: OR-ing into the entry would wait for the store of the pixel
  // before, which mostly has the same index.
  uint8_t used[256] = {};
  for (size_t i = 0; i < FramePixels; ++i)
    if (picture.Opaque[i]) used[picture.Index[i]] = 1;
  for (int index = 255; index >= 0; --index)
    if (!used[index]) return index;
  return -1;
}

bool FullyOpaque(const FramedPicture& picture) {
  return std::all_of(picture.Opaque.begin(), picture.Opaque.end(), [](uint8_t o) { return o != 0; });
}
