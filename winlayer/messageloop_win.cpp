#include "winlayer/winlayer_win.h"

int MessageLoop::Run() {
  main_.ShowWindow();
  while (Drain()) WaitMessage();
  return exitCode_;
}

bool MessageLoop::Drain() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      exitCode_ = static_cast<int>(message.wParam);
      return false;
    }
    if (Translated(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

bool MessageLoop::Translated(MSG& message) const {
  // Keyboard and mouse messages, from WM_KEYFIRST to WM_MBUTTONUP, so the
  // accelerators work wherever the focus is.
  if (message.message < WM_KEYFIRST || message.message > WM_MBUTTONUP) return false;
  for (const Window* window :
       {static_cast<const Window*>(&application_), static_cast<const Window*>(&main_)}) {
    const HACCEL table = window->Accelerators();
    if (table && TranslateAcceleratorW(window->Handle(), table, &message)) return true;
  }
  return false;
}
