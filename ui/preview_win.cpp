#include "ui/preview_win.h"

#include "nodetext/nodetext.h"
#include "ui/elementtree_win.h"
#include "ui/preview.h"
#include "ui/viewer_win.h"

namespace {
constexpr int32_t CrossArm = 10;
constexpr int32_t TextureWidth = 64;

Rect ToRect(const PixelRect& r) { return RectAt(r.X, r.Y, r.W, r.H); }
}  // namespace

void PaintPreview(RMainWindow& mw, PaintBox& pane, HDC dc) {
  if (SelectedKind != TextureElement && SelectedKind != SpriteElement) return;
  const TreeView& tree = *mw.ElementTree;
  const std::optional<int32_t> index = ChunkIndexOf(tree, tree.Selection());
  if (!index || *index < 0 || static_cast<size_t>(*index) >= WlFile.Chunks.size()) return;
  const RWlChunk& e = WlFile.Chunks[static_cast<size_t>(*index)];
  if (e.Size == 0 || !e.Image) return;

  const Bitmap& image = *e.Image;
  const int32_t width = SelectedKind == TextureElement ? TextureWidth : image.Width();
  const Rect client = pane.ClientRect();
  const PixelRect drawn = PreviewRect(width, ZoomState.Zoom, client.Width(), client.Height());
  SetStretchBltMode(dc, HALFTONE);
  // The whole image is stretched, even when the pane shows a small part of
  // it: halftoning blends neighbouring pixels, so a part cut out would be
  // drawn with other edges. The system only fills what the pane shows, and
  // the zoom's cap keeps every coordinate far inside the device's range.
  StretchBitmap(dc, image, ToRect(drawn));
  const HGDIOBJ black = GetStockObject(BLACK_PEN);
  const SelectScope pen(dc, black);
  DrawCornerMarks(dc, drawn.X, drawn.Y, drawn.W, drawn.H, CrossArm);
}

void DrawCornerMarks(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t r) {
  for (const PixelPoint& c : CornerMarkCentres({x, y, w, h})) DrawCross(dc, c.X, c.Y, r);
}

void DrawCross(HDC dc, int32_t cx, int32_t cy, int32_t r) {
  // LineTo leaves out its end point: each bar covers 2r + 1 pixels.
  MoveToEx(dc, cx - r, cy, nullptr);
  LineTo(dc, cx + r + 1, cy);
  MoveToEx(dc, cx, cy - r, nullptr);
  LineTo(dc, cx, cy + r + 1);
}

void PreviewMouseDown(RMainWindow&, PaintBox& pane, MouseButton button, int32_t, int32_t y) {
  if (ZoomPress(ZoomState, button, y)) SetCapture(pane.Handle());
}

void PreviewMouseMove(RMainWindow&, PaintBox& pane, int32_t, int32_t y) {
  if (ZoomMove(ZoomState, y)) pane.Invalidate();
}

void PreviewMouseUp(RMainWindow&, PaintBox&, MouseButton, int32_t, int32_t) {
  if (ZoomRelease(ZoomState)) ReleaseCapture();
}
