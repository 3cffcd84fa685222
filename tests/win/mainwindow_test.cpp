// The main window as it starts: its control tree, styles, fonts and
// geometry, and how the geometry follows resizing and maximising.
#include <vector>

#include "ui/about_win.h"
#include "ui/nodetext.h"
#include "ui_support.h"

namespace {

constexpr DWORD StaticStyles =
    WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }

// The children of a window as the system keeps them, top of the z-order first.
std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  return children;
}

class StartUp : public MainWindowTest {
 protected:
  // Checks the aligned controls against the layout of the three containers
  // for the current sizes; `tree` and `info` are the two adjustable widths.
  void ExpectLayout(int32_t tree = 161, int32_t info = 233) {
    const Rect main = ClientOf(*Mw().Frame);
    EXPECT_EQ(PlaceOf(*Mw().TopBar), (Rect{0, 0, main.Right, 65}));
    EXPECT_EQ(PlaceOf(*Mw().ContentPanel), (Rect{0, 65, main.Right, std::max(65, main.Bottom)}));

    const Rect content = ClientOf(*Mw().ContentPanel);
    const int32_t w = content.Right;
    const int32_t h = std::max(2, content.Bottom - 2);
    EXPECT_EQ(PlaceOf(*Mw().ElementTree), (Rect{2, 2, 2 + tree, h}));
    EXPECT_EQ(PlaceOf(*Mw().TreeSplitter), (Rect{tree + 4, 2, tree + 8, h}));
    EXPECT_EQ(PlaceOf(*Mw().ViewArea), (Rect{tree + 10, 2, std::max(tree + 10, w - 2), h}));

    const Rect view = ClientOf(*Mw().ViewArea);
    EXPECT_EQ(PlaceOf(*Mw().InfoPanel), (Rect{0, 0, info, view.Bottom}));
    EXPECT_EQ(PlaceOf(*Mw().InfoSplitter), (Rect{info, 0, info + 4, view.Bottom}));
    EXPECT_EQ(PlaceOf(*Mw().PreviewPane), (Rect{info + 4, 0, std::max(info + 4, view.Right), view.Bottom}));
  }
};

TEST_F(StartUp, ApplicationWindowCarriesTheTaskbarButton) {
  const HWND app = app_.Handle();
  EXPECT_EQ(TextOf(app), "tessarine");
  EXPECT_EQ(StyleOf(app) & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_EQ(StyleOf(app) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
  EXPECT_TRUE(ExStyleOf(app) & WS_EX_APPWINDOW);
  EXPECT_EQ(PlaceOf(app).Width(), 0);
  EXPECT_NE(app_.Icon(), nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICON)), app_.Icon());

  const HMENU system = GetSystemMenu(app, FALSE);
  EXPECT_TRUE(GetMenuState(system, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(GetMenuState(system, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(system, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(system, SC_MINIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(StartUp, MainWindowIsCentredWithItsCaptionAndIcon) {
  const HWND frame = Frame();
  EXPECT_EQ(TextOf(frame), "Tessarine V1.81 Deluxe");
  EXPECT_EQ(Mw().ProductName, "Tessarine");
  EXPECT_EQ(Mw().VersionText, "1.81 Deluxe");
  EXPECT_EQ(GetWindow(frame, GW_OWNER), app_.Handle());
  EXPECT_EQ(StyleOf(frame) & (WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  EXPECT_TRUE(IsWindowVisible(frame));
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(frame, GCLP_HICON)), app_.Icon());
  // The small icon is the group's own 16 x 16 picture, not a shrunken copy.
  const HANDLE small = LoadImageW(GetModuleHandleW(nullptr), L"MAINICO", IMAGE_ICON, 16, 16, LR_SHARED);
  EXPECT_EQ(reinterpret_cast<HANDLE>(GetClassLongPtrW(frame, GCLP_HICONSM)), small);

  const int32_t left = CentredStart(GetSystemMetrics(SM_CXSCREEN), 619);
  const int32_t top = CentredStart(GetSystemMetrics(SM_CYSCREEN), 483);
  EXPECT_EQ(PlaceOf(frame), RectAt(left, top, 619, 483));
}

TEST_F(StartUp, ControlsFormTheTreeInCreationOrder) {
  RMainWindow& mw = Mw();
  const std::vector<const Window*> mainChildren{mw.TopBar, mw.ContentPanel};
  const std::vector<const Window*> contentChildren{mw.ViewArea, mw.ElementTree, mw.TreeSplitter};
  const std::vector<const Window*> viewChildren{mw.InfoPanel, mw.InfoSplitter, mw.PreviewPane};
  const std::vector<const Window*> infoChildren{mw.WebLink,   mw.TitleLabel,   mw.InfoLine1,
                                                mw.InfoLine2, mw.CaptionLabel, mw.InfoLine4,
                                                mw.InfoLine5, mw.AuthorLink,   mw.InfoLine3};
  const auto expectChildren = [](const Window& parent, const std::vector<const Window*>& expected) {
    std::vector<const Window*> actual;
    for (const auto& child : parent.Children()) actual.push_back(child.get());
    EXPECT_EQ(actual, expected);
    for (const Window* child : expected) EXPECT_EQ(GetParent(child->Handle()), parent.Handle());
  };
  expectChildren(*mw.Frame, mainChildren);
  expectChildren(*mw.ContentPanel, contentChildren);
  expectChildren(*mw.ViewArea, viewChildren);
  expectChildren(*mw.InfoPanel, infoChildren);
  EXPECT_TRUE(mw.PreviewPane->Children().empty());
  EXPECT_TRUE(mw.TopBar->Children().empty());
}

TEST_F(StartUp, ControlsHaveTheirClassesStylesAndColours) {
  RMainWindow& mw = Mw();
  for (const Window* edged :
       {static_cast<const Window*>(mw.TopBar), static_cast<const Window*>(mw.ContentPanel)}) {
    EXPECT_EQ(ClassOf(edged->Handle()), "Static");
    EXPECT_EQ(StyleOf(edged->Handle()) & (StaticStyles | WS_DLGFRAME), StaticStyles | WS_DLGFRAME);
  }
  for (const Window* plain : std::initializer_list<const Window*>{mw.ViewArea, mw.InfoPanel, mw.InfoSplitter,
                                                                  mw.PreviewPane, mw.TreeSplitter}) {
    EXPECT_EQ(ClassOf(plain->Handle()), "Static");
    EXPECT_EQ(StyleOf(plain->Handle()) & (StaticStyles | WS_DLGFRAME | WS_BORDER), StaticStyles);
    EXPECT_EQ(ExStyleOf(plain->Handle()) & WS_EX_CLIENTEDGE, 0u);
  }

  const HWND tree = mw.ElementTree->Handle();
  EXPECT_EQ(ClassOf(tree), "SysTreeView32");
  constexpr DWORD treeStyles = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                               TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
  EXPECT_EQ(StyleOf(tree) & (treeStyles | TVS_LINESATROOT | TVS_EDITLABELS), treeStyles);
  EXPECT_TRUE(ExStyleOf(tree) & WS_EX_CLIENTEDGE);

  const Colour white = Colour::Rgb(255, 255, 255);
  const Colour face = Colour::System(COLOR_BTNFACE);
  EXPECT_EQ(mw.Frame->Color(), face);
  EXPECT_EQ(mw.TopBar->Color(), face);
  EXPECT_EQ(mw.ContentPanel->Color(), face);
  EXPECT_EQ(mw.TreeSplitter->Color(), face);
  EXPECT_EQ(mw.ElementTree->Color(), Colour::System(COLOR_WINDOW));
  for (const Window* w : std::initializer_list<const Window*>{mw.ViewArea, mw.InfoPanel, mw.InfoSplitter,
                                                              mw.PreviewPane, mw.CaptionLabel, mw.WebLink}) {
    EXPECT_EQ(w->Color(), white);
  }
  EXPECT_EQ(mw.Frame->Margin(), 0);
  EXPECT_EQ(mw.TopBar->Margin(), 2);
  EXPECT_EQ(mw.ContentPanel->Margin(), 2);
  EXPECT_EQ(mw.ViewArea->Margin(), 0);
  EXPECT_EQ(mw.InfoPanel->Margin(), 2);
  EXPECT_EQ(mw.PreviewPane->Margin(), 2);
}

TEST_F(StartUp, FramedPanelsDrawTheirEdges) {
  // Frameless windows leave their (empty) non-client paint undone; the
  // panels' raised frames must still be drawn.
  RMainWindow& mw = Mw();
  RedrawWindow(mw.Frame->Handle(), nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const auto framePixel = [](const Window& window, int x, int y) {
    const HDC dc = GetWindowDC(window.Handle());
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window.Handle(), dc);
    return colour;
  };
  for (const Window* edged :
       {static_cast<const Window*>(mw.TopBar), static_cast<const Window*>(mw.ContentPanel)}) {
    EXPECT_EQ(framePixel(*edged, 1, 1), GetSysColor(COLOR_3DHILIGHT));
  }
}

TEST_F(StartUp, FontsAreCopiedFromParentToChild) {
  RMainWindow& mw = Mw();
  const FontStyle& main = mw.Frame->Font();
  EXPECT_EQ(main.Face, L"MS Sans Serif");
  EXPECT_EQ(main.Height, 11);
  EXPECT_EQ(main.Color, Colour::Rgb(0, 0, 0));
  EXPECT_EQ(main.CharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(mw.ContentPanel->Font().Height, 11);

  // The tree draws its Russian captions with the main window's font.
  LOGFONTW treeFont{};
  const auto font = reinterpret_cast<HFONT>(SendMessageW(mw.ElementTree->Handle(), WM_GETFONT, 0, 0));
  ASSERT_TRUE(GetObjectW(font, sizeof(treeFont), &treeFont));
  EXPECT_EQ(std::wstring(treeFont.lfFaceName), L"MS Sans Serif");
  EXPECT_EQ(treeFont.lfHeight, 11);
  EXPECT_EQ(treeFont.lfCharSet, RUSSIAN_CHARSET);

  EXPECT_EQ(mw.InfoPanel->Font().Height, 0);
  EXPECT_EQ(mw.InfoPanel->Font().Color, Colour::System(COLOR_WINDOWTEXT));
}

TEST_F(StartUp, InfoLabelsHaveTheirPlacesFontsAndStartTexts) {
  RMainWindow& mw = Mw();
  struct Expected {
    Label* label;
    Rect place;
    const wchar_t* face;
    int32_t height;
    bool bold;
    std::string text;  // the start view's, or the blanks the label was made with
  };
  const Expected labels[] = {
      {mw.CaptionLabel, RectAt(10, 52, 207, 25), L"Arial", -16, true, "Tessarine"},
      {mw.TitleLabel, RectAt(14, 81, 203, 20), L"Arial", -12, true, "Version: 1.81 Deluxe"},
      {mw.InfoLine1, RectAt(16, 100, 201, 17), L"MS Sans Serif", -11, false, "Author: "},
      {mw.InfoLine2, RectAt(16, 116, 201, 17), L"MS Sans Serif", -11, false, "Web Page: "},
      {mw.InfoLine3, RectAt(16, 132, 201, 17), L"MS Sans Serif", -11, false, std::string(7, ' ')},
      {mw.InfoLine4, RectAt(16, 148, 201, 17), L"MS Sans Serif", -11, false, std::string(7, ' ')},
      {mw.InfoLine5, RectAt(16, 164, 201, 17), L"MS Sans Serif", -11, false, std::string(7, ' ')},
      {mw.AuthorLink, RectAt(72, 100, 121, 17), L"MS Sans Serif", -11, false, AuthorName},
      {mw.WebLink, RectAt(72, 116, 121, 17), L"MS Sans Serif", -11, false, WebAddress},
  };
  for (const Expected& e : labels) {
    SCOPED_TRACE(e.place.Top);
    EXPECT_EQ(ClassOf(e.label->Handle()), "Static");
    EXPECT_EQ(PlaceOf(*e.label), e.place);
    EXPECT_EQ(e.label->Font().Face, e.face);
    EXPECT_EQ(e.label->Font().Height, e.height);
    EXPECT_EQ(e.label->Font().Bold, e.bold);
    EXPECT_EQ(e.label->TextColour(), Colour::System(COLOR_WINDOWTEXT));
    EXPECT_EQ(TextOf(e.label->Handle()), e.text);
    constexpr DWORD labelStyles = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;
    EXPECT_EQ(StyleOf(e.label->Handle()) & labelStyles, labelStyles);
  }
}

TEST_F(StartUp, LinksLieAboveTheLinesTheyCover) {
  const std::vector<HWND> order = ChildrenOf(Mw().InfoPanel->Handle());
  const auto rank = [&](const Label* label) {
    return std::find(order.begin(), order.end(), label->Handle()) - order.begin();
  };
  EXPECT_LT(rank(Mw().AuthorLink), rank(Mw().InfoLine1));
  EXPECT_LT(rank(Mw().WebLink), rank(Mw().InfoLine2));
}

TEST_F(StartUp, InitialisationSetsTheViewState) {
  EXPECT_EQ(SelectedKind, NoNode);
  EXPECT_EQ(ZoomState.Zoom, 1.0);
  EXPECT_EQ(ZoomState.ZoomStep, 0.05);
  EXPECT_FALSE(ZoomState.ZoomDragging);
  EXPECT_TRUE(argumentPendingAtInit_);
  ASSERT_TRUE(BackgroundBitmap);
  EXPECT_EQ(BackgroundBitmap->Width(), 151);
  EXPECT_EQ(BackgroundBitmap->Height(), 171);
  EXPECT_EQ(SmallImages.Count(), 7);
  EXPECT_EQ(LargeImages.Count(), 7);
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(LargeImages.Handle(), &width, &height);
  EXPECT_EQ(width, 32);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(
                SendMessageW(Mw().ElementTree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
            SmallImages.Handle());
  EXPECT_EQ(Mw().PageFileDialog->Owner, Frame());
  EXPECT_EQ(Mw().PageFileDialog->Filter, "vswap.wl6 (*.wl6)|*.wl6|vswap.wl1 (*.wl1)|*.wl1");
  EXPECT_EQ(Mw().PageFileDialog->FilterIndex, 0);
  EXPECT_EQ(Mw().PageFileDialog->FileName, "");
}

TEST_F(StartUp, LayoutFollowsTheWindowSize) {
  ExpectLayout();
  ResizeMainWindow(900, 700);
  ExpectLayout();
  EXPECT_EQ(PlaceOf(*Mw().PreviewPane).Width(), ClientOf(*Mw().ViewArea).Right - 237);
  ResizeMainWindow(500, 300);
  ExpectLayout();
}

TEST_F(StartUp, MaximisingLaysOutAgain) {
  ShowWindow(Frame(), SW_MAXIMIZE);
  Pump();
  EXPECT_TRUE(IsZoomed(Frame()));
  EXPECT_GT(ClientOf(*Mw().Frame).Right, 619);
  ExpectLayout();
  ShowWindow(Frame(), SW_RESTORE);
  Pump();
  EXPECT_EQ(PlaceOf(Frame()).Width(), 619);
  ExpectLayout();
}

TEST_F(StartUp, TooSmallWindowsGiveZeroSizesNeverNegative) {
  ResizeMainWindow(150, 120);
  ExpectLayout();
  for (const Window* w :
       std::initializer_list<const Window*>{Mw().ViewArea, Mw().PreviewPane, Mw().ElementTree}) {
    const Rect r = PlaceOf(*w);
    EXPECT_GE(r.Width(), 0);
    EXPECT_GE(r.Height(), 0);
  }
  EXPECT_EQ(PlaceOf(*Mw().ViewArea).Width(), 0);
  EXPECT_EQ(PlaceOf(*Mw().TopBar).Height(), 65);
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
