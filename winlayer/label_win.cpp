#include "base/unicode_win.h"
#include "winlayer/winlayer_win.h"

Label* Label::CreateIn(Window& parent, const LabelOptions& options) {
  Label& label = parent.AddChild(std::make_unique<Label>());
  if (options.Font) label.SetFont(*options.Font);
  label.textColor_ = label.Font().Color;
  label.SetPlacement(Align::None, options.Bounds, 0);
  // Overlapping labels clip each other, so one that repaints leaves the text
  // of a label above it alone.
  if (!label.CreateHandle(
          {.ClassName = L"Static",
           .Text = Widen(options.Text),
           .Style = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY | WS_CLIPSIBLINGS,
           .Bounds = options.Bounds,
           .Parent = parent.Handle()})) {
    parent.DropChild(label);
    return nullptr;
  }
  return &label;
}

void Label::DrawContent(HDC dc) {
  DrawParentContent(dc);
  const std::wstring text = Widen(Text());
  RECT area{0, 0, Bounds().Width(), Bounds().Height()};
  const SelectScope font(dc, FontHandleOf());
  ::SetTextColor(dc, textColor_.Resolve());
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
}

void Label::SetTextColor(const ColorValue& color) {
  textColor_ = color;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void Label::BringToTop() {
  if (Handle()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Label::Commanded(WORD code) {
  if (code != STN_CLICKED) return false;
  if (Click) Click(*this);
  return true;
}

void Label::PointerAt(POINT client) {
  const Rect c = ClientRect();
  const bool inside = client.x >= c.Left && client.x < c.Right && client.y >= c.Top && client.y < c.Bottom;
  if (inside && !pointerInside_) {
    pointerInside_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    _TrackMouseEvent(&track);
    if (Enter) Enter(*this);
  } else if (!inside) {
    PointerGone();
  }
}

void Label::PointerGone() {
  if (!pointerInside_) return;
  pointerInside_ = false;
  if (Leave) Leave(*this);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT composes the whole picture off-screen
    case WM_PAINT: {
      const PaintScope paint(Handle());
      const PaintBuffer buffer(paint.Dc(), Bounds().Width(), Bounds().Height());
      DrawContent(buffer.Dc());
      buffer.CopyTo(paint.Dc());
      return 0;
    }
    case WM_SETTEXT: {
      // Stored as any window text, then repainted over the parent's picture:
      // the static control would paint an opaque box right away.
      const LRESULT result = DefWindowProcW(Handle(), message, wParam, lParam);
      InvalidateRect(Handle(), nullptr, FALSE);
      return result;
    }
    case WM_SETFONT:
      return 0;  // the label draws with its own font
    case WM_SETCURSOR:
      if (handCursor_ && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      PointerAt({static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))});
      break;
    case WM_MOUSELEAVE:
      PointerGone();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
