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

namespace {
// Source cells [first, last) of `cells` whose stretched spans meet [0, pane),
// for an image spread over [at, at + size).
bool VisibleCells(int32_t at, int32_t size, int32_t cells, int32_t pane, int32_t& first, int32_t& last) {
  if (size <= 0 || cells <= 0 || at >= pane || int64_t{at} + size <= 0) return false;
  // Cell s covers [at + s * size / cells, at + (s + 1) * size / cells).
  const int64_t from = std::max<int64_t>(0, -int64_t{at});
  const int64_t to = std::min<int64_t>(size, int64_t{pane} - at);
  first = static_cast<int32_t>(from * cells / size);
  last = static_cast<int32_t>(std::min<int64_t>(cells, (to * cells + size - 1) / size));
  return last > first;
}

int32_t CellEdge(int32_t at, int32_t size, int32_t cells, int32_t s) {
  return static_cast<int32_t>(at + int64_t{s} * size / cells);
}
}  // namespace

StretchPlan ClipStretch(const PixelRect& drawn, int32_t imageWidth, int32_t imageHeight, int32_t paneWidth,
                        int32_t paneHeight) {
  StretchPlan plan;
  int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  if (!VisibleCells(drawn.X, drawn.W, imageWidth, paneWidth, x0, x1) ||
      !VisibleCells(drawn.Y, drawn.H, imageHeight, paneHeight, y0, y1)) {
    return plan;
  }
  plan.Empty = false;
  plan.Src = {x0, y0, x1 - x0, y1 - y0};
  const int32_t dx0 = CellEdge(drawn.X, drawn.W, imageWidth, x0);
  const int32_t dy0 = CellEdge(drawn.Y, drawn.H, imageHeight, y0);
  plan.Dst = {dx0, dy0, CellEdge(drawn.X, drawn.W, imageWidth, x1) - dx0,
              CellEdge(drawn.Y, drawn.H, imageHeight, y1) - dy0};
  return plan;
}

std::array<PixelPoint, 4> CornerMarkCentres(const PixelRect& d) {
  return {{{d.X - 1, d.Y - 1}, {d.X + d.W, d.Y - 1}, {d.X - 1, d.Y + d.H}, {d.X + d.W, d.Y + d.H}}};
}
