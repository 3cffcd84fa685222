// The controls' own behaviour: label and paint box events, cursors,
// transparent double-buffered drawing, failed creation and memory over long
// use.
#include <windows.h>
// Keep this order: psapi.h needs the types of windows.h.
#include <psapi.h>

#include <vector>

#include "pagewriter.h"
#include "tempdir.h"
#include "ui/elementtree_win.h"
#include "ui/openfile_win.h"
#include "ui_support.h"

namespace {

using Controls = MainWindowTest;

TEST_F(Controls, LabelsReportEnterLeaveAndClick) {
  Label& link = *Mw().AuthorLink;
  std::vector<std::string> events;
  link.Enter = [&](Label&) { events.push_back("enter"); };
  link.Leave = [&](Label&) { events.push_back("leave"); };
  link.Click = [&](Label&) { events.push_back("click"); };
  const HWND h = link.Handle();
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-3), 5));  // captured, outside
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(60, 8));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave", "enter", "leave", "click"}));
}

TEST_F(Controls, LinksShowTheHandCursorAndSplittersTheSizingOne) {
  const std::pair<const Window*, const wchar_t*> cursors[] = {{Mw().AuthorLink, IDC_HAND},
                                                              {Mw().WebLink, IDC_HAND},
                                                              {Mw().TreeSplitter, IDC_SIZEWE},
                                                              {Mw().InfoSplitter, IDC_SIZEWE}};
  for (const auto& [window, cursor] : cursors) {
    SendMessageW(window->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, cursor)) << TextOf(window->Handle());
  }
}

TEST_F(Controls, PaintBoxMouseEventsCarryButtonAndSignedPosition) {
  PaintBox& pane = *Mw().PreviewPane;
  std::vector<std::tuple<std::string, MouseButton, int32_t, int32_t>> events;
  pane.MouseDown = [&](PaintBox&, MouseButton b, int32_t x, int32_t y) {
    events.emplace_back("down", b, x, y);
  };
  pane.MouseUp = [&](PaintBox&, MouseButton b, int32_t x, int32_t y) { events.emplace_back("up", b, x, y); };
  pane.MouseMove = [&](PaintBox&, int32_t x, int32_t y) {
    events.emplace_back("move", MouseButton::Left, x, y);
  };
  const HWND h = pane.Handle();
  SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
  SendMessageW(h, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-7)));
  SendMessageW(h, WM_MBUTTONUP, 0, MAKELPARAM(1, 2));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(0x7FFF, 0x8000));
  const decltype(events) expected{{"down", MouseButton::Right, 10, 20},
                                  {"move", MouseButton::Left, -5, -7},
                                  {"up", MouseButton::Middle, 1, 2},
                                  {"down", MouseButton::Left, 3, 4},
                                  {"up", MouseButton::Left, 32767, -32768}};
  EXPECT_EQ(events, expected);
}

TEST_F(Controls, PaintBoxesAndLabelsDrawOverTheirParentsPicture) {
  PaintBox& panel = *Mw().InfoPanel;
  const COLORREF white = RGB(255, 255, 255);
  // Without a paint handler the panel shows the white view area.
  panel.Paint = nullptr;
  EXPECT_EQ(Snapshot(panel).At(100, 30), white);
  panel.Paint = [](PaintBox& box, HDC dc) {
    const BrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    const Rect c = box.ClientRect();
    const RECT area{0, 0, c.Right, 90};
    FillRect(dc, &area, red.Get());
  };
  EXPECT_EQ(Snapshot(panel).At(100, 30), RGB(255, 0, 0));
  EXPECT_EQ(Snapshot(panel).At(100, 120), white);
  // A label shows the panel's picture around its text, and its text colour.
  Label& caption = *Mw().CaptionLabel;
  caption.SetText("Tessarine");
  EXPECT_EQ(Snapshot(caption).At(200, 20), RGB(255, 0, 0));
  caption.SetTextColor(ColorValue::Rgb(0, 0, 255));
  const Snapshot text(caption);
  EXPECT_LT(text.CountOther(RGB(0, 0, 255)), text.Width() * text.Height()) << "some of the text is blue";
}

TEST_F(Controls, PaintsShareAGrowingBufferButNeverOneInUse) {
  const HDC screen = ScreenDc();
  const COLORREF red = RGB(255, 0, 0);
  const COLORREF blue = RGB(0, 0, 255);
  const auto fill = [](HDC dc, int32_t w, int32_t h, COLORREF color) {
    const BrushHandle brush(CreateSolidBrush(color));
    const RECT r{0, 0, w, h};
    FillRect(dc, &r, brush.Get());
  };
  HDC first = nullptr;
  {
    const PaintBuffer small(screen, 10, 45);
    first = small.Dc();
    fill(small.Dc(), 10, 45, red);
    SetTextColor(small.Dc(), blue);
    {
      // A paint inside a paint: its own buffer, the outer picture kept.
      const PaintBuffer inner(screen, 10, 10);
      EXPECT_NE(inner.Dc(), small.Dc());
      fill(inner.Dc(), 10, 10, blue);
    }
    EXPECT_EQ(GetPixel(small.Dc(), 5, 5), red);
  }
  const MemoryDc target(screen, 60, 50);
  fill(target.Dc(), 60, 50, RGB(255, 255, 255));
  {
    // A larger paint grows the buffer; the DC is the same one, its state
    // back to what it was before the last paint changed it.
    const PaintBuffer large(screen, 50, 40);
    EXPECT_EQ(large.Dc(), first);
    EXPECT_EQ(GetTextColor(large.Dc()), RGB(0, 0, 0));
    fill(large.Dc(), 60, 50, blue);  // clipped to the paint's area
    EXPECT_EQ(GetPixel(large.Dc(), 49, 39), blue);
    large.CopyTo(target.Dc());
  }
  EXPECT_EQ(GetPixel(target.Dc(), 49, 39), blue);
  EXPECT_EQ(GetPixel(target.Dc(), 5, 42), RGB(255, 255, 255));  // the buffer is 45 high now
  EXPECT_EQ(GetPixel(target.Dc(), 50, 20), RGB(255, 255, 255));
}

TEST_F(Controls, AControlTheSystemDoesNotMakeIsNeitherReturnedNorKept) {
  // A child of a window without a handle cannot be made.
  ApplicationWindow unmade;
  EXPECT_EQ(Panel::CreateIn(unmade, {}), nullptr);
  EXPECT_EQ(Label::CreateIn(unmade, {}), nullptr);
  EXPECT_EQ(TreeView::CreateIn(unmade, {}), nullptr);
  EXPECT_TRUE(unmade.Children().empty());
}

TEST_F(Controls, BrowsingForLongKeepsThePrivateMemoryBounded) {
  // Wine does not count GDI or USER objects (GetGuiResources gives 0), so a
  // leak shows as memory instead. 2,000 cycles of loading, selecting and
  // zooming: what one cycle makes and drops (a tree of 54 nodes, two decoded
  // elements of about 5 KB, the paint's GDI objects), leaked each time,
  // would add at least 10 KB per cycle, 20 MB in all. The bound, 4 MB over
  // the level after a warm-up, leaves room for the heap's and Wine's own
  // caches (the growth measured under Wine is tens of kilobytes) and is far
  // below a leak of any one of those.
  const TempDir dir;
  const std::string path = dir.File("vswap.wl6");
  PageFileLayout layout;
  for (int i = 0; i < 50; ++i) layout.Chunks.push_back({std::vector<uint8_t>(i < 2 ? 4096 : 300, 7), {}, {}});
  ASSERT_TRUE(WritePageFile(path, layout));
  TreeView& tree = *Mw().ElementTree;
  PaintBox& pane = *Mw().PreviewPane;
  const auto cycle = [&] {
    LoadWlFile(Mw(), path);
    for (const HTREEITEM section : {TextureItem, SpriteItem}) {
      tree.Select(TreeView_GetChild(tree.Handle(), section));
      SendMessageW(pane.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 50));
      SendMessageW(pane.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20));
      SendMessageW(pane.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
      // The preview paints the zoomed element; a repaint of the whole window
      // would cost twenty times more.
      UpdateWindow(pane.Handle());
    }
  };
  // PagefileUsage: the commit charge on Windows, the process's anonymous
  // memory under Wine, which leaves PrivateUsage at 0.
  const auto privateBytes = [] {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<int64_t>(counters.PagefileUsage);
  };
  for (int i = 0; i < 100; ++i) cycle();
  const int64_t before = privateBytes();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 2000; ++i) cycle();
  const int64_t grown = privateBytes() - before;
  EXPECT_LT(grown, int64_t{4} << 20) << "grew by " << grown << " bytes";
}

}  // namespace
