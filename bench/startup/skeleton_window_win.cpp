// The viewer's windows with nothing behind them: the application window, the
// main window with its menu bar, and the same child windows in the same
// places with the same classes and styles, all left to the system's own
// window procedures. No resources, fonts, pictures, layout layer or start
// view. What this costs over the empty window is what the window structure
// itself costs the window system, whatever the program does with it.
#include "bench/startup/yardstick_win.h"
// After windows.h, whose types it needs.
#include <commctrl.h>

namespace {
constexpr DWORD PanelStyle =
    WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD LabelStyle =
    WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY | WS_CLIPSIBLINGS;
constexpr DWORD TreeStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                            TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;

HWND Child(HWND parent, const wchar_t* windowClass, DWORD style, DWORD exStyle, RECT r,
           const wchar_t* text = L"") {
  return CreateWindowExW(exStyle, windowClass, text, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

RECT ClientOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

HMENU MenuBar() {
  const HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 4096, L"&Open...\tCtrl+O");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, 4097, L"E&xit\tAlt+X");
  const HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, 4099, L"&About...");
  const HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  return bar;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterYardstickClass(instance, L"SkeletonWindow")) return 1;
  const HWND application = CreateWindowExW(WS_EX_APPWINDOW, L"SkeletonWindow", L"skeleton",
                                           WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                           0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  const HWND window = CreateWindowExW(0, L"SkeletonWindow", L"Skeleton window",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 330, 270, 619,
                                      483, application, MenuBar(), instance, nullptr);
  if (!application || !window) return 1;

  const RECT main = ClientOf(window);
  Child(window, L"Static", PanelStyle | WS_DLGFRAME, 0, {0, 0, main.right, 65});
  const HWND content =
      Child(window, L"Static", PanelStyle | WS_DLGFRAME, 0, {0, 65, main.right, main.bottom});
  const RECT c = ClientOf(content);
  const HWND view = Child(content, L"Static", PanelStyle, 0, {171, 2, c.right - 2, c.bottom - 2});
  const RECT v = ClientOf(view);
  const HWND info = Child(view, L"Static", PanelStyle, 0, {0, 0, 233, v.bottom});
  for (int i = 0; i < 9; ++i)
    Child(info, L"Static", LabelStyle, 0, {16, 52 + 16 * i, 217, 69 + 16 * i}, L"       ");
  Child(view, L"Static", PanelStyle, 0, {233, 0, 237, v.bottom});
  Child(view, L"Static", PanelStyle, 0, {237, 0, v.right, v.bottom});
  Child(content, WC_TREEVIEWW, TreeStyle, WS_EX_CLIENTEDGE, {2, 2, 163, c.bottom - 2});
  Child(content, L"Static", PanelStyle, 0, {165, 2, 169, c.bottom - 2});

  ShowWindow(window, SW_SHOW);
  return RunMessageLoop();
}
