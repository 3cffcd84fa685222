// The main window as it starts and how its layout follows resizing and
// maximising.
#include <vector>

#include "ui_support.h"

namespace {

using StartUp = MainWindowTest;

TEST_F(StartUp, ApplicationWindowCarriesTheTaskbarButtonWithATrimmedSystemMenu) {
  const HWND app = app_.Handle();
  EXPECT_EQ(PlaceOf(app).Width(), 0);
  EXPECT_EQ(GetWindow(Frame(), GW_OWNER), app);
  const HMENU system = GetSystemMenu(app, FALSE);
  EXPECT_TRUE(GetMenuState(system, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
  for (const UINT gone : {SC_SIZE, SC_MOVE, SC_MAXIMIZE})
    EXPECT_EQ(GetMenuState(system, gone, MF_BYCOMMAND), static_cast<UINT>(-1)) << gone;
  for (const UINT kept : {SC_MINIMIZE, SC_CLOSE})
    EXPECT_NE(GetMenuState(system, kept, MF_BYCOMMAND), static_cast<UINT>(-1)) << kept;
}

TEST_F(StartUp, MainWindowIsCentred) {
  // As much screen on either side, but the odd pixel, which goes right and down.
  const Rect place = PlaceOf(Frame());
  EXPECT_EQ(place.Width(), MainWindowWidth);
  EXPECT_EQ(place.Height(), MainWindowHeight);
  const int32_t right = GetSystemMetrics(SM_CXSCREEN) - place.Right;
  const int32_t below = GetSystemMetrics(SM_CYSCREEN) - place.Bottom;
  EXPECT_TRUE(right == place.Left || right == place.Left + 1) << place.Left << " and " << right;
  EXPECT_TRUE(below == place.Top || below == place.Top + 1) << place.Top << " and " << below;
}

TEST_F(StartUp, FramedPanelsDrawTheirEdges) {
  // Frameless windows leave their (empty) non-client paint undone; the
  // panels' raised frames must still be drawn.
  RMainWindow& mw = Mw();
  RedrawWindow(mw.Frame->Handle(), nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (const Panel* edged : {mw.TopBar, mw.ContentPanel}) {
    const HDC dc = GetWindowDC(edged->Handle());
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_3DHILIGHT));
    ReleaseDC(edged->Handle(), dc);
  }
}

TEST_F(StartUp, TheTreeDrawsItsRussianCaptionsInACyrillicFont) {
  LOGFONTW treeFont{};
  const auto font = reinterpret_cast<HFONT>(SendMessageW(Mw().ElementTree->Handle(), WM_GETFONT, 0, 0));
  ASSERT_TRUE(GetObjectW(font, sizeof(treeFont), &treeFont));
  EXPECT_EQ(treeFont.lfCharSet, RUSSIAN_CHARSET);
}

TEST_F(StartUp, LinksLieAboveTheLinesTheyCover) {
  // The panel's children, top of the z-order first.
  std::vector<HWND> order;
  for (HWND c = GetWindow(Mw().InfoPanel->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    order.push_back(c);
  const auto rank = [&](const Label* label) {
    return std::find(order.begin(), order.end(), label->Handle()) - order.begin();
  };
  EXPECT_LT(rank(Mw().AuthorLink), rank(Mw().InfoLine1));
  EXPECT_LT(rank(Mw().WebLink), rank(Mw().InfoLine2));
}

TEST_F(StartUp, LayoutFollowsResizingAndMaximising) {
  // The layout itself is tested natively (layout_test.cpp); here, that the
  // window lays its children out again at its new size: the preview pane
  // reaches the right edge of the view, the tree the bottom of the content.
  const auto expectLaidOut = [&] {
    const Rect view = ClientOf(*Mw().ViewArea);
    const Rect pane = PlaceOf(*Mw().PreviewPane);
    EXPECT_EQ(pane.Right, std::max(pane.Left, view.Right));
    EXPECT_EQ(PlaceOf(*Mw().ElementTree).Bottom, std::max(2, ClientOf(*Mw().ContentPanel).Bottom - 2));
  };
  for (const auto& [width, height] : {std::pair{900, 700}, {500, 300}, {150, 120}}) {
    ResizeMainWindow(width, height);
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    expectLaidOut();
  }
  ShowWindow(Frame(), SW_MAXIMIZE);
  Pump();
  EXPECT_GT(ClientOf(*Mw().Frame).Right, 619);
  expectLaidOut();
}

TEST_F(StartUp, ShownFiresOnEveryShowingFromHidden) {
  int shown = 0;
  Mw().Frame->Shown = [&](TopWindow&) { ++shown; };
  ShowWindow(Frame(), SW_SHOW);  // already visible: no event
  EXPECT_EQ(shown, 0);
  ShowWindow(Frame(), SW_HIDE);
  ShowWindow(Frame(), SW_SHOW);
  EXPECT_EQ(shown, 1);
  ShowWindow(Frame(), SW_HIDE);
  ShowWindow(Frame(), SW_SHOWNORMAL);
  EXPECT_EQ(shown, 2);
}

}  // namespace
