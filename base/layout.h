// Geometry free of any window system: rectangles, the alignment layout of a
// container's children, centring and splitter limits.
#pragma once

#include <cstdint>
#include <span>

struct Rect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const Rect&) const = default;
};

// x, y, width, height: the way sizes are usually given.
inline Rect RectAt(int32_t x, int32_t y, int32_t width, int32_t height) {
  return {x, y, x + width, y + height};
}

enum class Align { None, Top, Bottom, Left, Right, Client };

// One child as the layout sees it. Bounds are in the container's client
// coordinates; the layout rewrites them for visible aligned children.
struct LayoutItem {
  Align Alignment = Align::None;
  bool Visible = true;
  Rect Bounds;
};

// Places the aligned children in three passes over `items` in creation
// order (top and bottom, then left and right, then client), with `margin`
// between the client edge and the children and between neighbours. Hidden
// and unaligned children are left alone. A child is never given a negative
// width or height. Returns the rectangle left over for client children
// before their margin is taken off.
Rect LayoutChildren(const Rect& client, int32_t margin, std::span<LayoutItem> items);

// Where a window of `size` starts so that it is centred in `screen`: half the
// difference, rounded down, so a window larger than the screen starts at a
// negative position.
int32_t CentredStart(int32_t screen, int32_t size);

// The width of the control before a splitter while it is dragged: its width
// at the press plus the pointer's movement, at least 0 and at most what
// leaves `roomAtPress` (the room after the splitter at the press) at 0.
int32_t SplitWidth(int32_t widthAtPress, int32_t movement, int32_t roomAtPress);
