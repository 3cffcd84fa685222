#include <algorithm>

#include "base/unicode_win.h"
#include "winlayer/winlayer_win.h"

namespace {
HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// The procedure a window's class gives it: a system control's own, or the
// default one behind this layer's classes.
WNDPROC ClassProcedureOf(HWND hwnd, WNDPROC layer) {
  const auto proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
  return proc == layer ? DefWindowProcW : proc;
}
}  // namespace

Window::~Window() {
  if (hwnd_) {
    // The object is going away: its handlers must not run any more.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure))
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::DropChild(const Window& child) {
  std::erase_if(children_, [&](const std::unique_ptr<Window>& c) { return c.get() == &child; });
}

Window* Window::ChildBefore(const Window& child) const {
  for (size_t i = 1; i < children_.size(); ++i) {
    if (children_[i].get() == &child) return children_[i - 1].get();
  }
  return nullptr;
}

const wchar_t* Window::OwnClass(const wchar_t* name, UINT style, int background, const wchar_t* icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(Instance(), name, &wc)) return name;
  wc.style = style;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = Instance();
  if (icon) {
    wc.hIcon = LoadIconW(Instance(), icon);
    // The title bar's small icon, drawn from the group's own 16 x 16 picture.
    wc.hIconSm = static_cast<HICON>(LoadImageW(Instance(), icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground =
      background < 0 ? nullptr : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) ? name : nullptr;
}

bool Window::CreateHandle(const WindowParams& params) {
  if (!params.ClassName) return false;
  // An aligned child is made where its parent's layout puts it: each move
  // right after the making would cost a trip through the window system.
  const bool aligned = parent_ && alignment_ != Align::None;
  if (aligned) bounds_ = parent_->LaidOut(*this);
  const Rect& b = aligned ? bounds_ : params.Bounds;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  const bool ownClass = GetClassInfoExW(Instance(), params.ClassName, &wc) && wc.lpfnWndProc == Procedure;
  const HWND hwnd = CreateWindowExW(params.ExStyle, params.ClassName, params.Text.c_str(), params.Style,
                                    b.Left, b.Top, b.Width(), b.Height(), params.Parent, params.Menu,
                                    Instance(), ownClass ? this : nullptr);
  if (hwnd && !ownClass) {
    // A system control keeps its class, so it is what it says it is to
    // anyone who looks; its messages reach this layer from here on.
    hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    baseProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  }
  visible_ = (params.Style & WS_VISIBLE) != 0;
  placed_ = b;
  return hwnd_ != nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      self->baseProc_ = ClassProcedureOf(hwnd, Procedure);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return CallWindowProcW(ClassProcedureOf(hwnd, Procedure), hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = self->CallBase(message, wParam, lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    while (!self->adopted_.empty()) self->adopted_.pop_back();
    return result;
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Window::CallBase(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(baseProc_, hwnd_, message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      const LRESULT result = CallBase(message, wParam, lParam);
      Relayout();
      return result;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      Window* from = FromHandle(header.hwndFrom);
      if (from && from->parent_ == this) {
        if (const std::optional<LRESULT> result = from->Notified(header)) return *result;
      }
      break;
    }
    case WM_COMMAND: {
      Window* from = FromHandle(reinterpret_cast<HWND>(lParam));
      if (from && from->parent_ == this && from->Commanded(HIWORD(wParam))) return 0;
      break;
    }
    case WM_NCPAINT:
      // A window without border, caption or scroll bars has nothing outside
      // its client area to paint; the system's handler would still fetch a
      // window DC and its visible region for it, which under Wine costs half
      // a millisecond for each of the labels and panels when the window
      // shows.
      if (!HasFrame()) return 0;
      break;
    default:
      break;
  }
  return CallBase(message, wParam, lParam);
}

bool Window::HasFrame() const {
  RECT window;
  RECT client;
  if (!GetWindowRect(hwnd_, &window) || !GetClientRect(hwnd_, &client)) return true;
  return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

std::optional<LRESULT> Window::Notified(const NMHDR&) { return std::nullopt; }

bool Window::Commanded(WORD) { return false; }

void Window::SetPlacement(Align alignment, const Rect& bounds, int32_t margin) {
  alignment_ = alignment;
  bounds_ = bounds;
  margin_ = margin;
}

void Window::SetBounds(const Rect& bounds) {
  bounds_ = bounds;
  if (parent_ && alignment_ != Align::None) {
    parent_->Relayout();
  } else if (hwnd_) {
    MoveWindow(hwnd_, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), TRUE);
    placed_ = bounds;
  }
}

void Window::SetWidth(int32_t width) {
  Rect b = bounds_;
  b.Right = b.Left + width;
  SetBounds(b);
}

void Window::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
  visible_ = true;
  if (parent_) parent_->Relayout();
}

void Window::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  visible_ = false;
  if (parent_) parent_->Relayout();
}

Rect Window::LayOut(std::vector<LayoutItem>& items) const {
  items.clear();
  items.reserve(children_.size());
  for (const auto& child : children_) items.push_back({child->alignment_, child->visible_, child->bounds_});
  return LayoutChildren(ClientRect(), margin_, items);
}

Rect Window::LaidOut(const Window& child) const {
  std::vector<LayoutItem> items;
  LayOut(items);
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].get() == &child) return items[i].Bounds;
  }
  return child.bounds_;
}

void Window::Relayout() {
  if (!hwnd_) return;
  std::vector<LayoutItem> items;
  const Rect free = LayOut(items);
  roomAfterEdges_ = std::max(0, free.Width() - 2 * margin_);
  std::vector<Window*> moving;
  for (size_t i = 0; i < children_.size(); ++i) {
    Window& child = *children_[i];
    if (child.alignment_ == Align::None || !child.visible_ || !child.hwnd_) continue;
    child.bounds_ = items[i].Bounds;
    if (child.bounds_ != child.placed_) moving.push_back(&child);
  }
  if (moving.empty()) return;
  // One step for all, so that the children repaint once. A batch is a
  // handle of its own, not worth making for a single window.
  HDWP batch = moving.size() > 1 ? BeginDeferWindowPos(static_cast<int>(moving.size())) : nullptr;
  for (Window* child : moving) {
    const Rect& b = child->bounds_;
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (batch) {
      batch = DeferWindowPos(batch, child->hwnd_, nullptr, b.Left, b.Top, b.Width(), b.Height(), flags);
    } else {
      SetWindowPos(child->hwnd_, nullptr, b.Left, b.Top, b.Width(), b.Height(), flags);
    }
    child->placed_ = b;
  }
  if (batch) EndDeferWindowPos(batch);
}

int32_t Window::RoomAfterEdges() const { return roomAfterEdges_; }

void Window::SetFont(const FontStyle& font) {
  font_ = font;
  fontHandle_.Reset();
  Invalidate();
}

HFONT Window::FontHandleOf() {
  if (!fontHandle_) fontHandle_ = CreateFontFrom(font_);
  return fontHandle_.Get();
}

std::string Window::Text() const {
  if (!hwnd_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Window::SetText(const std::string& text) {
  if (hwnd_) SetWindowTextW(hwnd_, Widen(text).c_str());
}

void Window::SetRedraw(bool redraw) {
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETREDRAW, redraw, 0);
  if (redraw) RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

Rect Window::ClientRect() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void Window::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Window::DrawContent(HDC dc) {
  const Rect c = ClientRect();
  const RECT area{c.Left, c.Top, c.Right, c.Bottom};
  const BrushHandle brush(CreateSolidBrush(color_.Resolve()));
  FillRect(dc, &area, brush.Get());
}

std::optional<LRESULT> Window::PaintOpaque(UINT message) {
  if (message == WM_ERASEBKGND) return 1;  // WM_PAINT fills the whole client area
  if (message != WM_PAINT) return std::nullopt;
  const PaintScope paint(Handle());
  DrawContent(paint.Dc());
  return 0;
}

void Window::DrawParentContent(HDC dc) {
  if (!parent_ || !hwnd_) return;
  POINT origin{0, 0};
  MapWindowPoints(hwnd_, parent_->hwnd_, &origin, 1);
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
  parent_->DrawContent(dc);
  RestoreDC(dc, saved);
}
