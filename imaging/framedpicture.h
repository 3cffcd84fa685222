// A texture or sprite in the game's 64 x 64 frame, column after column as
// the chunks store them: pixel (x, y) is at 64 * x + y, y = 0 the top row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int FrameSide = 64;
constexpr size_t FramePixels = FrameSide * FrameSide;

struct FramedPicture {
  std::array<uint8_t, FrameSide * FrameSide> Index{};   // palette index of each pixel
  std::array<uint8_t, FrameSide * FrameSide> Opaque{};  // 1 where a pixel is drawn, 0 for a hole

  bool operator==(const FramedPicture&) const = default;
};
