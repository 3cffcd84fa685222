#include "base/unicode_win.h"
#include "winlayer/winlayer_win.h"

bool TopWindow::Create(const TopWindowOptions& options) {
  SetColor(options.Color);
  SetFont(options.Font);
  SetPlacement(Align::None, options.Bounds, options.Margin);
  // Made with the window rather than set on it afterwards, which would lay
  // out the window's frame a second time.
  if (!options.MenuItems.empty()) {
    menu_ = std::make_unique<Menu>(nextCommandId_, options.MenuItems);
    nextCommandId_ += static_cast<UINT>(menu_->ItemCount());
  }
  const bool made = CreateHandle({.ClassName = OwnClass(L"TessarineMain", 0, -1, options.Icon),
                                  .Text = Widen(options.Caption),
                                  .Style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  .Bounds = options.Bounds,
                                  .Parent = owner_.Handle(),
                                  .Menu = menu_ ? menu_->Handle() : nullptr});
  if (made && menu_) menu_->Attached();
  return made;
}

Rect TopWindow::WindowRect() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void TopWindow::ShowWindow(int command) { ::ShowWindow(Handle(), command); }

HACCEL TopWindow::Accelerators() const { return menu_ ? menu_->Accelerators() : nullptr; }

namespace {
bool TakesFocus(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

// The first tab stop among the descendants, in creation order, depth first:
// the order of the windows' tabbing. Walked over this layer's own objects,
// which Wine answers without asking its server once per window.
HWND FirstTabStop(const Window& window) {
  for (const auto& child : window.Children()) {
    const HWND handle = child->Handle();
    if (!handle) continue;
    if ((GetWindowLongPtrW(handle, GWL_STYLE) & WS_TABSTOP) && TakesFocus(handle)) return handle;
    if (const HWND inner = FirstTabStop(*child)) return inner;
  }
  return nullptr;
}
}  // namespace

void TopWindow::PassFocusOn() {
  HWND target = lastFocus_ && IsChild(Handle(), lastFocus_) && TakesFocus(lastFocus_) ? lastFocus_ : nullptr;
  if (!target) target = FirstTabStop(*this);
  if (target) SetFocus(target);
}

LRESULT TopWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      PassFocusOn();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && !IsWindowVisible(Handle()) && Shown) Shown(*this);
      break;
    case WM_DESTROY:
      if (Destroyed) Destroyed(*this);
      break;
    case WM_CLOSE:
      // Closing ends the message loop; the application window's end then
      // destroys this window.
      PostQuitMessage(0);
      return 0;
    case WM_ENDSESSION:
      if (wParam) {
        owner_.Destroy();
        PostQuitMessage(0);
      }
      return 0;
    case WM_ERASEBKGND: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      DrawContent(dc);
      return 1;
    }
    case WM_COMMAND:
      // Menu items (0) and accelerators (1); controls send their own handle.
      if (lParam == 0 && HIWORD(wParam) <= 1 && menu_ && menu_->Dispatch(LOWORD(wParam))) return 0;
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
