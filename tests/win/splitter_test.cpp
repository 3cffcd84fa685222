// Dragging the two splitters: live resizing, the limits at 0 on both sides,
// and Escape while the button is still held. The widths' arithmetic is
// tested natively (layout_test.cpp); here, what a splitter hands it.
#include "ui_support.h"

namespace {

class Splitters : public MainWindowTest {
 protected:
  // Mouse messages at a screen x, in the splitter's client coordinates at the
  // moment each is sent, as the system would send them.
  static LPARAM At(const Splitter& splitter, int32_t screenX) {
    RECT r{};
    GetWindowRect(splitter.Handle(), &r);
    POINT p{screenX, r.top + 5};
    ScreenToClient(splitter.Handle(), &p);
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
  }
  static int32_t ScreenX(const Splitter& splitter) {
    RECT r{};
    GetWindowRect(splitter.Handle(), &r);
    return r.left + 1;
  }
  void Press(Splitter& s, int32_t x) { SendMessageW(s.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(s, x)); }
  void Move(Splitter& s, int32_t x) { SendMessageW(s.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(s, x)); }
  void Release(Splitter& s, int32_t x) { SendMessageW(s.Handle(), WM_LBUTTONUP, 0, At(s, x)); }

  void Drag(Splitter& s, int32_t dx) {
    const int32_t x = ScreenX(s);
    Press(s, x);
    Move(s, x + dx / 2);
    Move(s, x + dx);
    Release(s, x + dx);
    Pump();
  }
};

TEST_F(Splitters, TreeSplitterResizesTheTreeAndTheViewFollows) {
  RMainWindow& mw = Mw();
  const int32_t viewRight = PlaceOf(*mw.ViewArea).Right;
  const int32_t x = ScreenX(*mw.TreeSplitter);
  Press(*mw.TreeSplitter, x);
  EXPECT_TRUE(mw.TreeSplitter->Dragging());
  EXPECT_EQ(GetCapture(), mw.TreeSplitter->Handle());
  Move(*mw.TreeSplitter, x + 40);
  // Live: the tree and everything right of it move while the button is held.
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 201);
  EXPECT_EQ(PlaceOf(*mw.TreeSplitter).Left, 205);
  EXPECT_EQ(PlaceOf(*mw.ViewArea), (Rect{211, 2, viewRight, PlaceOf(*mw.ElementTree).Bottom}));
  Release(*mw.TreeSplitter, x + 30);
  EXPECT_FALSE(mw.TreeSplitter->Dragging());
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
  EXPECT_EQ(PlaceOf(*mw.TreeSplitter).Left, 4);
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
  const int32_t x = ScreenX(splitter);
  Press(splitter, x);
  Move(splitter, x + 50);
  ASSERT_EQ(PlaceOf(*mw.ElementTree).Width(), 211);
  SetKey(VK_ESCAPE, true);
  // The splitter looks at the key on its timer's ticks.
  const bool cancelled = PumpUntil([&] { return !splitter.Dragging(); });
  SetKey(VK_ESCAPE, false);
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 161);
  EXPECT_NE(GetCapture(), splitter.Handle());
  // Moving and releasing afterwards change nothing.
  Move(splitter, x + 80);
  Release(splitter, x + 80);
  Pump();
  EXPECT_EQ(PlaceOf(*mw.ElementTree).Width(), 161);
}

TEST_F(Splitters, InfoSplitterDragGoesOnOverTimerTicksWithoutEscape) {
  RMainWindow& mw = Mw();
  Splitter& splitter = *mw.InfoSplitter;
  const int32_t x = ScreenX(splitter);
  Press(splitter, x);
  Move(splitter, x - 33);
  PumpUntil([] { return false; }, std::chrono::milliseconds(350));
  EXPECT_TRUE(splitter.Dragging());
  EXPECT_EQ(PlaceOf(*mw.InfoPanel).Width(), 200);
  Release(splitter, x - 33);
  EXPECT_FALSE(splitter.Dragging());
}

}  // namespace
