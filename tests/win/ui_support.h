// The viewer's main window, built in the test's own process, and the means
// to drive it: pumping messages, geometry in a parent's coordinates, keys,
// and hands for the modal dialogs.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/globals_win.h"
#include "app/mainwindow_win.h"
#include "tempdir.h"

// A window's outer rectangle in its parent's client coordinates (screen
// coordinates for a top-level window).
Rect PlaceOf(HWND window);
Rect PlaceOf(const Window& window);
Rect ClientOf(const Window& window);
std::string TextOf(HWND window);

// Presses and releases keys through the system's input queue, as a keyboard
// would; `keys` are virtual-key codes, pressed in order, released backwards.
void TypeKeys(std::initializer_list<WORD> keys);
void SetKey(WORD key, bool down);

// Runs `action` on the first dialog box of this thread as soon as one shows,
// from inside the dialog's own modal loop.
void WhenDialogShows(std::function<void(HWND dialog)> action);
bool DialogWasHandled();

// A page file of `chunks` small chunks, written as `name` in `dir`.
std::string WriteSmallPageFile(const TempDir& dir, const std::string& name, size_t chunks);

// The screen's DC, taken once for the whole run.
HDC ScreenDc();

// What a window draws (its parent's picture included), composed off-screen
// once and then read pixel by pixel.
class Snapshot {
 public:
  explicit Snapshot(Window& window);

  COLORREF At(int32_t x, int32_t y) const { return GetPixel(buffer_.Dc(), x, y); }
  int32_t Width() const { return buffer_.Width(); }
  int32_t Height() const { return buffer_.Height(); }
  // Pixels of the whole picture that are not `colour`.
  int32_t CountOther(COLORREF color) const;

 private:
  MemoryDc buffer_;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Handles every queued message; false once WM_QUIT was taken.
  bool Pump();
  // Pumps until `done` holds or `limit` has passed; returns `done()`.
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
  // Resizes the main window's outer rectangle and lays out.
  void ResizeMainWindow(int32_t width, int32_t height);

  RMainWindow& Mw() { return *MainWindow; }
  HWND Frame() { return MainWindow->Frame->Handle(); }

  ApplicationWindow app_;
  bool extensionExisted_ = false;  // the .wl6 association before the test
  bool progIdExisted_ = false;
  std::unique_ptr<MessageLoop> loop_;
  bool quit_ = false;
};
