#include "base/bitmap.h"
#include "winlayer/winlayer_win.h"

void StretchBitmap(HDC dc, const Bitmap& bitmap, const Rect& destination) {
  if (bitmap.Empty()) return;
  StretchDIBits(dc, destination.Left, destination.Top, destination.Width(), destination.Height(), 0, 0,
                bitmap.Width(), bitmap.Height(), bitmap.Bits().data(),
                reinterpret_cast<const BITMAPINFO*>(bitmap.Info().data()), DIB_RGB_COLORS, SRCCOPY);
}

DeviceBitmap::~DeviceBitmap() { ReleaseSource(); }

bool DeviceBitmap::LoadResource(const wchar_t* name) {
  ReleaseSource();
  bitmap_.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
  BITMAP facts{};
  if (!bitmap_ || !GetObjectW(bitmap_.Get(), sizeof(facts), &facts)) {
    bitmap_.Reset();
    width_ = height_ = 0;
    return false;
  }
  width_ = facts.bmWidth;
  height_ = facts.bmHeight;
  return true;
}

void DeviceBitmap::Draw(HDC dc, const Rect& destination) const {
  if (!bitmap_) return;
  if (!source_) {
    // Kept with the bitmap selected: a paint draws the background picture
    // for every label over it, and a DC made for each draw cost more than
    // the copy.
    source_ = CreateCompatibleDC(dc);
    if (!source_) return;
    oldBitmap_ = SelectObject(source_, bitmap_.Get());
  }
  StretchBlt(dc, destination.Left, destination.Top, destination.Width(), destination.Height(), source_, 0, 0,
             width_, height_, SRCCOPY);
}

void DeviceBitmap::ReleaseSource() {
  if (!source_) return;
  SelectObject(source_, oldBitmap_);
  DeleteDC(source_);
  source_ = nullptr;
}
