#include "winlayer/winlayer_win.h"

namespace {
HCURSOR SizeCursor() { return LoadCursorW(nullptr, IDC_SIZEWE); }
}  // namespace

Splitter* Splitter::CreateIn(Window& parent, const SplitterOptions& options) {
  Splitter& splitter = parent.AddChild(std::make_unique<Splitter>());
  const Rect bounds = RectAt(0, 0, options.Width, options.Width);
  splitter.SetPlacement(options.Alignment, bounds, 0);
  if (!splitter.CreateHandle({.ClassName = L"Static",
                              .Style = StaticControlStyle,
                              .Bounds = bounds,
                              .Parent = parent.Handle()})) {
    parent.DropChild(splitter);
    return nullptr;
  }
  parent.Relayout();
  return &splitter;
}

void Splitter::Follow(LPARAM position) {
  // Screen positions: the splitter itself moves while it is dragged.
  POINT p{static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position))};
  ClientToScreen(Handle(), &p);
  if (Window* before = Parent() ? Parent()->ChildBefore(*this) : nullptr) {
    before->SetWidth(SplitWidth(widthAtPress_, p.x - pressX_, roomAtPress_));
  }
}

void Splitter::EndDrag() {
  dragging_ = false;
  KillTimer(Handle(), EscapeTimer);
  ReleaseCapture();
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto painted = PaintOpaque(message)) return *painted;
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(SizeCursor());
      return TRUE;
    case WM_LBUTTONDOWN: {
      Window* before = Parent() ? Parent()->ChildBefore(*this) : nullptr;
      if (!before) break;
      POINT p{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
      ClientToScreen(Handle(), &p);
      widthAtPress_ = before->Bounds().Width();
      pressX_ = p.x;
      roomAtPress_ = Parent()->RoomAfterEdges();
      dragging_ = true;
      SetCapture(Handle());
      SetTimer(Handle(), EscapeTimer, EscapeInterval, nullptr);
      return 0;
    }
    case WM_MOUSEMOVE:
      SetCursor(SizeCursor());
      if (dragging_) Follow(lParam);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        Follow(lParam);
        EndDrag();
      }
      return 0;
    case WM_TIMER:
      if (wParam != EscapeTimer) break;
      if (dragging_ && (GetAsyncKeyState(VK_ESCAPE) & 0x8000)) {
        if (Window* before = Parent()->ChildBefore(*this)) before->SetWidth(widthAtPress_);
        EndDrag();
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the drag cannot go on.
      if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) {
        dragging_ = false;
        KillTimer(Handle(), EscapeTimer);
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
