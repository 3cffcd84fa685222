#include <algorithm>
#include <memory>

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

namespace {
struct SharedPaintBuffer {
  std::unique_ptr<MemoryDc> Memory;
  bool Busy = false;
};

SharedPaintBuffer& SharedBuffer() {
  static SharedPaintBuffer buffer;
  return buffer;
}
}  // namespace

PaintBuffer::PaintBuffer(HDC target, int32_t width, int32_t height) : width_(width), height_(height) {
  SharedPaintBuffer& shared = SharedBuffer();
  if (shared.Busy) {
    own_ = std::make_unique<MemoryDc>(target, width, height);
    dc_ = own_->Dc();
  } else {
    const MemoryDc* memory = shared.Memory.get();
    if (!memory || memory->Width() < width || memory->Height() < height) {
      const int32_t w = std::max(width, memory ? memory->Width() : 0);
      const int32_t h = std::max(height, memory ? memory->Height() : 0);
      shared.Memory.reset();  // the old bitmap goes before the new one is made
      shared.Memory = std::make_unique<MemoryDc>(target, w, h);
    }
    shared.Busy = true;
    dc_ = shared.Memory->Dc();
  }
  saved_ = SaveDC(dc_);
  // The shared bitmap may be larger: nothing is drawn outside this paint.
  IntersectClipRect(dc_, 0, 0, width, height);
}

PaintBuffer::~PaintBuffer() {
  RestoreDC(dc_, saved_);
  if (!own_) SharedBuffer().Busy = false;
}

void PaintBuffer::CopyTo(HDC target) const { BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY); }
