// What the start-up yardsticks (empty_window, skeleton_window) share: a
// window class left to the default window procedure, whose close ends the
// program, and a plain message loop.
#pragma once

#include <windows.h>

inline LRESULT CALLBACK YardstickProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

inline bool RegisterYardstickClass(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = YardstickProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

inline int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
