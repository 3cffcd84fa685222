#include "ui_support.h"

#include <utility>

#include "base/unicode_win.h"
#include "pagewriter.h"
#include "shell/association.h"
#include "ui/viewer_win.h"

Rect PlaceOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  }
  return {r.left, r.top, r.right, r.bottom};
}

Rect PlaceOf(const Window& window) { return PlaceOf(window.Handle()); }

Rect ClientOf(const Window& window) {
  RECT r{};
  GetClientRect(window.Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

std::string TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return Narrow(text);
}

void SetKey(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

void TypeKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) SetKey(key, true);
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) SetKey(*it, false);
}

namespace {
std::function<void(HWND)> dialogAction;
bool dialogHandled = false;
HWND dialogSeen = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  // Dialog boxes are of the system's class 32770.
  if (GetClassLongPtrW(window, GCW_ATOM) == 32770 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  // The dialog is driven one tick after it showed, when its start-up is over.
  if (!dialog || dialog != std::exchange(dialogSeen, dialog)) return;
  KillTimer(nullptr, timer);
  dialogHandled = true;
  dialogAction(dialog);
}
}  // namespace

void WhenDialogShows(std::function<void(HWND dialog)> action) {
  dialogAction = std::move(action);
  dialogHandled = false;
  dialogSeen = nullptr;
  SetTimer(nullptr, 0, 50, LookForDialog);
}

bool DialogWasHandled() { return dialogHandled; }

std::string WriteSmallPageFile(const TempDir& dir, const std::string& name, size_t chunks) {
  PageFileLayout layout;
  for (size_t i = 0; i < chunks; ++i) layout.Chunks.push_back({std::vector<uint8_t>(i + 1, 7), {}, {}});
  const std::string path = dir.File(name);
  EXPECT_TRUE(WritePageFile(path, layout));
  return path;
}

HDC ScreenDc() {
  static const HDC screen = GetDC(nullptr);
  return screen;
}

Snapshot::Snapshot(Window& window)
    : buffer_(ScreenDc(), window.ClientRect().Width(), window.ClientRect().Height()) {
  window.DrawContent(buffer_.Dc());
}

int32_t Snapshot::CountOther(COLORREF color) const {
  int32_t n = 0;
  for (int32_t y = 0; y < Height(); ++y) {
    for (int32_t x = 0; x < Width(); ++x) n += At(x, y) != color;
  }
  return n;
}

namespace {
bool ClassesKeyExists(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(name).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}
}  // namespace

void MainWindowTest::SetUp() {
  // Building the main window registers .wl6 for this test program; what it
  // adds goes again at the end, so that the prefix keeps no association
  // naming ui_tests.exe.
  extensionExisted_ = ClassesKeyExists(AssociatedExtension);
  progIdExisted_ = ClassesKeyExists(AssociationProgId);
  ASSERT_TRUE(CreateAppWindow(app_));
  ASSERT_TRUE(BuildMainWindow(MainWindow, app_));
  ASSERT_NE(MainWindow, nullptr);
  // The tests' own arguments name no page file: the first showing must not
  // load one.
  ArgumentPending = false;
  // A pointer left over a link by an earlier test would colour it.
  SetCursorPos(0, 0);
  loop_ = std::make_unique<MessageLoop>(app_, *MainWindow->Frame);
  MainWindow->Frame->ShowWindow();
  SetForegroundWindow(Frame());
  Pump();
}

void MainWindowTest::TearDown() {
  if (!extensionExisted_) RegDeleteTreeW(HKEY_CLASSES_ROOT, Widen(AssociatedExtension).c_str());
  if (!progIdExisted_) RegDeleteTreeW(HKEY_CLASSES_ROOT, Widen(AssociationProgId).c_str());
  app_.Destroy();
  AppWindow = nullptr;
  // A zoom drag a test left open would reach into the next one.
  ZoomState.ZoomDragging = false;
  // Whatever the test left queued, WM_QUIT included, goes with it.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) DispatchMessageW(&message);
  }
}

bool MainWindowTest::Pump() {
  if (!quit_ && !loop_->Drain()) quit_ = true;
  return !quit_;
}

bool MainWindowTest::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return done();
}

void MainWindowTest::ResizeMainWindow(int32_t width, int32_t height) {
  SetWindowPos(Frame(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
}
