#include "winlayer/winlayer_win.h"

namespace {
int32_t X(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
int32_t Y(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }
}  // namespace

PaintBox* PaintBox::CreateIn(Window& parent, const PaintBoxOptions& options) {
  PaintBox& box = parent.AddChild(std::make_unique<PaintBox>());
  if (options.Font) box.SetFont(*options.Font);
  box.SetPlacement(options.Alignment, options.Bounds, options.Margin);
  if (!box.CreateHandle({.ClassName = L"Static",
                         .Style = StaticControlStyle,
                         .Bounds = options.Bounds,
                         .Parent = parent.Handle()})) {
    parent.DropChild(box);
    return nullptr;
  }
  parent.Relayout();
  return &box;
}

void PaintBox::DrawContent(HDC dc) {
  DrawParentContent(dc);
  if (!Paint) return;
  const int saved = SaveDC(dc);
  SelectObject(dc, FontHandleOf());
  SetTextColor(dc, Font().Color.Resolve());
  SetBkMode(dc, TRANSPARENT);
  Paint(*this, dc);
  RestoreDC(dc, saved);
}

LRESULT PaintBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto down = [&](MouseButton button) {
    if (MouseDown) MouseDown(*this, button, X(lParam), Y(lParam));
  };
  const auto up = [&](MouseButton button) {
    if (MouseUp) MouseUp(*this, button, X(lParam), Y(lParam));
  };
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT composes the whole picture off-screen
    case WM_PAINT: {
      const PaintScope paint(Handle());
      const Rect client = ClientRect();
      const PaintBuffer buffer(paint.Dc(), client.Width(), client.Height());
      DrawContent(buffer.Dc());
      buffer.CopyTo(paint.Dc());
      return 0;
    }
    case WM_LBUTTONDOWN:
      down(MouseButton::Left);
      break;
    case WM_RBUTTONDOWN:
      down(MouseButton::Right);
      break;
    case WM_MBUTTONDOWN:
      down(MouseButton::Middle);
      break;
    case WM_LBUTTONUP:
      up(MouseButton::Left);
      break;
    case WM_RBUTTONUP:
      up(MouseButton::Right);
      break;
    case WM_MBUTTONUP:
      up(MouseButton::Middle);
      break;
    case WM_MOUSEMOVE:
      if (MouseMove) MouseMove(*this, X(lParam), Y(lParam));
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
