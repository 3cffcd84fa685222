#include "ui/preview.h"

#include <algorithm>
#include <cmath>

bool ZoomPress(RZoomState& state, MouseButton button, int32_t y) {
  if (button != MouseButton::Left) return false;
  state.ZoomAtPress = state.Zoom;
  state.PressY = y;
  state.ZoomDragging = true;
  return true;
}

bool ZoomMove(RZoomState& state, int32_t y) {
  if (!state.ZoomDragging) return false;
  const double c = state.ZoomAtPress + static_cast<double>(state.PressY - y) * state.ZoomStep;
  if (c > 0.0) state.Zoom = std::min(c, MaxZoom);
  return true;
}

bool ZoomRelease(RZoomState& state) {
  if (!state.ZoomDragging) return false;
  state.ZoomDragging = false;
  return true;
}

PixelRect PreviewRect(int32_t imageWidth, double zoom, int32_t paneWidth, int32_t paneHeight) {
  zoom = std::clamp(zoom, 0.0, MaxZoom);
  PixelRect r;
  r.W = static_cast<int32_t>(std::trunc(imageWidth * zoom));
  r.H = static_cast<int32_t>(std::trunc(64.0 * zoom));
  r.X = paneWidth / 2 - r.W / 2;
  r.Y = paneHeight / 2 - r.H / 2;
  return r;
}

std::array<PixelPoint, 4> CornerMarkCentres(const PixelRect& d) {
  return {{{d.X - 1, d.Y - 1}, {d.X + d.W, d.Y - 1}, {d.X - 1, d.Y + d.H}, {d.X + d.W, d.Y + d.H}}};
}
