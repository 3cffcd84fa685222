// An empty main window with a message loop and nothing else: the least a
// Win32 program does before it is idle on the screen.
#include "bench/startup/yardstick_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!RegisterYardstickClass(instance, L"EmptyWindow")) return 1;
  const HWND window = CreateWindowExW(0, L"EmptyWindow", L"Empty window", WS_OVERLAPPEDWINDOW, 330, 270, 619,
                                      483, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  return RunMessageLoop();
}
