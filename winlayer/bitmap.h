// Device-independent bitmap object: parsed from a BMP file image, it keeps
// its own info header, colour table and rows, ready to be stretched onto a
// device context.
#pragma once

#include <cstdint>
#include <vector>

class Stream;

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // Loads a BMP file image that starts at the stream's position: the 14-byte
  // file header, the 40-byte info header, bfOffBits - 54 bytes of colour
  // table, then the rows. Only uncompressed images with 1, 4, 8, 24 or 32
  // bits per pixel are taken. A malformed image leaves the bitmap empty
  // (0 x 0) and returns false; nothing is read past the stream's end.
  bool LoadFromStream(Stream& stream);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return info_.empty(); }

  // BITMAPINFO layout: the 40-byte info header followed by the colour table.
  const std::vector<uint8_t>& Info() const { return info_; }
  // The rows as stored, bottom row first for a positive biHeight.
  const std::vector<uint8_t>& Bits() const { return bits_; }
  int32_t BitCount() const { return bitCount_; }
  int32_t Stride() const { return stride_; }

  // Palette index (or first byte of the pixel) at column x, row y counted
  // from the top; only for 8-bit images. Out of range gives -1.
  int PixelIndex(int32_t x, int32_t y) const;

 private:
  void Clear();

  std::vector<uint8_t> info_;
  std::vector<uint8_t> bits_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bitCount_ = 0;
  int32_t stride_ = 0;
  bool bottomUp_ = true;
};
