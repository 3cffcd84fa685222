#include "base/layout.h"

#include <algorithm>

namespace {
// Keeps right >= left and bottom >= top by moving the far edges.
Rect NotNegative(Rect r) {
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

void PlaceEdge(Rect& free, int32_t m, LayoutItem& item) {
  Rect& b = item.Bounds;
  const int32_t width = b.Width();
  const int32_t height = b.Height();
  switch (item.Alignment) {
    case Align::Top:
      b = NotNegative({free.Left + m, free.Top + m, free.Right - m, free.Top + m + height});
      free.Top += m + height;
      break;
    case Align::Bottom:
      b = NotNegative({free.Left + m, free.Bottom - m - height, free.Right - m, free.Bottom - m});
      free.Bottom -= m + height;
      break;
    case Align::Left:
      b = NotNegative({free.Left + m, free.Top + m, free.Left + m + width, free.Bottom - m});
      free.Left += m + width;
      break;
    case Align::Right:
      b = NotNegative({free.Right - m - width, free.Top + m, free.Right - m, free.Bottom - m});
      free.Right -= m + width;
      break;
    case Align::Client:
      b = NotNegative({free.Left + m, free.Top + m, free.Right - m, free.Bottom - m});
      break;
    case Align::None:
      break;
  }
}
}  // namespace

Rect LayoutChildren(const Rect& client, int32_t margin, std::span<LayoutItem> items) {
  Rect free = client;
  const auto pass = [&](Align a, Align b) {
    for (LayoutItem& item : items) {
      if (item.Visible && (item.Alignment == a || item.Alignment == b)) PlaceEdge(free, margin, item);
    }
  };
  pass(Align::Top, Align::Bottom);
  pass(Align::Left, Align::Right);
  pass(Align::Client, Align::Client);
  return free;
}

int32_t CentredStart(int32_t screen, int32_t size) { return (screen - size) >> 1; }

int32_t SplitWidth(int32_t widthAtPress, int32_t movement, int32_t roomAtPress) {
  const int32_t widest = std::max(0, widthAtPress + std::max(0, roomAtPress));
  return std::clamp(widthAtPress + movement, 0, widest);
}
