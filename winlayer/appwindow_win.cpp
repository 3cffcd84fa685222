#include "base/unicode_win.h"
#include "winlayer/winlayer_win.h"

ApplicationWindow::~ApplicationWindow() { Destroy(); }

bool ApplicationWindow::Create(const std::string& caption, const wchar_t* icon) {
  icon_ = LoadIconW(GetModuleHandleW(nullptr), icon);
  // No size: the window is never seen, only its taskbar button.
  return CreateHandle({.ClassName = OwnClass(L"TessarineApplication", 0, -1, icon),
                       .Text = Widen(caption),
                       .Style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                       .ExStyle = WS_EX_APPWINDOW});
}

void ApplicationWindow::TrimSystemMenu() {
  const HMENU menu = GetSystemMenu(Handle(), FALSE);
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
}

TopWindow* ApplicationWindow::CreateMainWindow(const TopWindowOptions& options) {
  main_ = std::make_unique<TopWindow>(*this);
  if (!main_->Create(options)) main_.reset();
  return main_.get();
}

void ApplicationWindow::Destroy() {
  if (Handle()) DestroyWindow(Handle());
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND main = main_ ? main_->Handle() : nullptr;
  switch (message) {
    case WM_SYSCOMMAND:
      // Minimising starts its animation from the main window's place.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && main) {
        const Rect r = main_->WindowRect();
        SetWindowPos(Handle(), nullptr, r.Left, r.Top, r.Width(), 0, SWP_NOZORDER | SWP_NOREDRAW);
      }
      break;
    case WM_CLOSE:
      // Closing the taskbar button closes the program.
      if (main) {
        PostMessageW(main, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
