// Dragging the two splitters: live resizing, the limits at 0 on both sides,
// and Escape while the button is still held. The widths' arithmetic is
// tested natively (layout_test.cpp); here, what a splitter hands it.
#include "ui_support.h"

namespace {

class Splitters : public MainWindowTest {
 protected:
  // A mouse message `dx` pixels right of where the button went down, in the
  // splitter's client coordinates at the moment it is sent, as the system
  // would send it.
  void Send(Splitter& s, UINT message, int32_t dx) {
    POINT p{pressX_ + dx, 0};
    ScreenToClient(s.Handle(), &p);
    const WPARAM buttons = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
    SendMessageW(s.Handle(), message, buttons, MAKELPARAM(static_cast<WORD>(p.x), 5));
  }
  void Press(Splitter& s) {
    POINT p{1, 0};
    ClientToScreen(s.Handle(), &p);
    pressX_ = p.x;
    Send(s, WM_LBUTTONDOWN, 0);
  }
  void Drag(Splitter& s, int32_t dx) {
    Press(s);
    Send(s, WM_MOUSEMOVE, dx / 2);
    Send(s, WM_MOUSEMOVE, dx);
    Send(s, WM_LBUTTONUP, dx);
    Pump();
  }

  int32_t pressX_ = 0;  // on the screen
};

TEST_F(Splitters, TreeSplitterResizesTheTreeAndTheViewFollows) {
  RMainWindow& mw = Mw();
  const int32_t viewRight = PlaceOf(*mw.ViewArea).Right;
  Press(*mw.TreeSplitter);
  EXPECT_EQ(GetCapture(), mw.TreeSplitter->Handle());
  Send(*mw.TreeSplitter, WM_MOUSEMOVE, 40);
  // Live: the tree and everything right of it move while the button is held.
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 201);
  EXPECT_EQ(PlaceOf(*mw.TreeSplitter).Left, 205);
  EXPECT_EQ(PlaceOf(*mw.ViewArea), (Rect{211, 2, viewRight, PlaceOf(*mw.ElementTree).Bottom}));
  Send(*mw.TreeSplitter, WM_LBUTTONUP, 30);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 191);
  // The new width lasts through a resize of the window.
  ResizeMainWindow(800, 600);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 191);
}

TEST_F(Splitters, TreeSplitterStopsAtZeroOnEitherSideAndComesBack) {
  RMainWindow& mw = Mw();
  const int32_t room = PlaceOf(*mw.ViewArea).Width();
  Drag(*mw.TreeSplitter, -500);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 0);
  Drag(*mw.TreeSplitter, 161 + room + 2000);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 161 + room);
  EXPECT_EQ(PlaceOf(*mw.ViewArea).Width(), 0);
  Drag(*mw.TreeSplitter, -room);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 161);
  EXPECT_EQ(PlaceOf(*mw.ViewArea).Width(), room);
}

TEST_F(Splitters, EscapeRestoresTheWidthWhileTheButtonIsHeld) {
  RMainWindow& mw = Mw();
  Splitter& splitter = *mw.TreeSplitter;
  Press(splitter);
  Send(splitter, WM_MOUSEMOVE, 50);
  ASSERT_EQ(PlaceOf(*mw.ElementTree).Width(), 211);
  SetKey(VK_ESCAPE, true);
  // The splitter looks at the key on its timer's ticks.
  const bool cancelled = PumpUntil([&] { return GetCapture() != splitter.Handle(); });
  SetKey(VK_ESCAPE, false);
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 161);
  // Moving and releasing afterwards change nothing.
  Send(splitter, WM_MOUSEMOVE, 80);
  Send(splitter, WM_LBUTTONUP, 80);
  Pump();
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 161);
}

TEST_F(Splitters, InfoSplitterDragGoesOnOverTimerTicksWithoutEscape) {
  RMainWindow& mw = Mw();
  Splitter& splitter = *mw.InfoSplitter;
  Press(splitter);
  Send(splitter, WM_MOUSEMOVE, -33);
  PumpUntil([] { return false; }, std::chrono::milliseconds(350));
  EXPECT_EQ(GetCapture(), splitter.Handle());
  EXPECT_EQ(PlaceOf(*mw.InfoPanel).Width(), 200);
  Send(splitter, WM_LBUTTONUP, -33);
  EXPECT_NE(GetCapture(), splitter.Handle());
}

}  // namespace
