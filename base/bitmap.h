// Device-independent bitmap object: parsed from a BMP file image, it keeps
// its own info header, colour table and rows, ready to be stretched onto a
// device context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/bytevector.h"

class MemoryStream;

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // Loads a copy of the BMP file image at the start of `bytes`: the 14-byte
  // file header, the 40-byte info header, bfOffBits - 54 bytes of colour
  // table, then the rows. Only uncompressed images with 1, 4, 8, 24 or 32
  // bits per pixel are taken. A malformed image leaves the bitmap empty
  // (0 x 0) and returns false; nothing is read past the bytes' end.
  bool LoadFromBytes(std::span<const uint8_t> bytes);
  // Loads the image that starts at the stream's position as LoadFromBytes
  // does, but a well-formed image with its full colour table is not copied:
  // the bitmap takes the stream's bytes over and leaves the stream empty.
  bool TakeFromStream(MemoryStream& stream);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return infoSize_ == 0; }

  // BITMAPINFO layout: the 40-byte info header followed by the colour table.
  std::span<const uint8_t> Info() const { return {store_.data() + infoAt_, infoSize_}; }
  // The rows as stored, bottom row first for a positive biHeight.
  std::span<const uint8_t> Bits() const { return {store_.data() + bitsAt_, bitsSize_}; }
  int32_t BitCount() const { return bitCount_; }
  int32_t Stride() const { return stride_; }

  // Palette index (or first byte of the pixel) at column x, row y counted
  // from the top; only for 8-bit images. Out of range gives -1.
  int PixelIndex(int32_t x, int32_t y) const;

 private:
  struct Layout;
  void Clear();
  void SetLayout(const Layout& layout, size_t infoAt, size_t bitsAt);

  // The info header, the colour table and the rows lie in one buffer: the
  // stream's whole BMP image when it was taken over.
  ByteVector store_;
  size_t infoAt_ = 0;
  size_t infoSize_ = 0;
  size_t bitsAt_ = 0;
  size_t bitsSize_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bitCount_ = 0;
  int32_t stride_ = 0;
  bool bottomUp_ = true;
};
