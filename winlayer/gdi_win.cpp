#include <algorithm>

#include "winlayer/winlayer_win.h"

FontHandle CreateFontFrom(const FontStyle& style) {
  LOGFONTW font{};
  font.lfHeight = style.Height;
  font.lfWeight = style.Bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = style.CharSet;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  style.Face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&font));
}

MemoryDc::MemoryDc(HDC target, int32_t width, int32_t height)
    : dc_(CreateCompatibleDC(target)),
      // A bitmap needs at least one pixel; an empty area copies nothing anyway.
      bitmap_(CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1))),
      width_(width),
      height_(height) {
  oldBitmap_ = SelectObject(dc_, bitmap_.Get());
}

MemoryDc::~MemoryDc() {
  SelectObject(dc_, oldBitmap_);
  DeleteDC(dc_);
}

void MemoryDc::CopyTo(HDC target, int32_t x, int32_t y) const {
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}
