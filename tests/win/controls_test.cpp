// The controls' own behaviour: tree nodes and their values, label and paint
// box events, transparent double-buffered drawing, bitmaps, failed creation
// and memory over long use.
#include <windows.h>
// Keep this order: psapi.h needs the types of windows.h.
#include <psapi.h>

#include <vector>

#include "base/bitmap.h"
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "pagewriter.h"
#include "tempdir.h"
#include "ui/elementtree_win.h"
#include "ui_support.h"

namespace {

using Controls = MainWindowTest;

// The colour at (x, y) of what a window draws, composed off-screen.
COLORREF PixelOf(Window& window, int32_t x, int32_t y) {
  const HDC screen = GetDC(nullptr);
  const Rect client = window.ClientRect();
  COLORREF colour;
  {
    const MemoryDc buffer(screen, client.Width(), client.Height());
    window.DrawContent(buffer.Dc());
    colour = GetPixel(buffer.Dc(), x, y);
  }
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(Controls, TreeSelectionChangingReportsOldAndNewItems) {
  const TempDir dir;
  PageFileLayout layout;
  layout.Chunks.resize(2);
  ASSERT_TRUE(WritePageFile(dir.File("a.wl6"), layout));
  LoadWlFile(Mw(), dir.File("a.wl6"));
  TreeView& tree = *Mw().ElementTree;
  std::vector<std::pair<HTREEITEM, HTREEITEM>> changes;
  tree.SelectionChanging = [&](TreeView& sender, HTREEITEM oldItem, HTREEITEM newItem) {
    EXPECT_EQ(&sender, &tree);
    changes.emplace_back(oldItem, newItem);
  };
  tree.Select(RootItem);
  tree.Select(SpriteItem);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0], std::make_pair(HTREEITEM{}, RootItem));
  EXPECT_EQ(changes[1], std::make_pair(RootItem, SpriteItem));
  EXPECT_EQ(tree.Selection(), SpriteItem);
}

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

TEST_F(Controls, LinksShowTheHandCursor) {
  for (Label* label : {Mw().AuthorLink, Mw().WebLink}) {
    SendMessageW(label->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
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
  EXPECT_EQ(PixelOf(panel, 100, 30), white);
  panel.Paint = [](PaintBox& box, HDC dc) {
    const BrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    const Rect c = box.ClientRect();
    const RECT area{0, 0, c.Right, 90};
    FillRect(dc, &area, red.Get());
  };
  EXPECT_EQ(PixelOf(panel, 100, 30), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(panel, 100, 120), white);
  // A label shows the panel's picture around its text, and its text colour.
  Label& caption = *Mw().CaptionLabel;
  caption.SetText("Tessarine");
  EXPECT_EQ(caption.Text(), "Tessarine");
  EXPECT_EQ(PixelOf(caption, 200, 20), RGB(255, 0, 0));
  caption.SetTextColour(Colour::Rgb(0, 0, 255));
  bool blue = false;
  for (int x = 0; x < 100 && !blue; ++x) {
    for (int y = 0; y < 25 && !blue; ++y) blue = PixelOf(caption, x, y) == RGB(0, 0, 255);
  }
  EXPECT_TRUE(blue);
}

TEST_F(Controls, BitmapsStretchOntoADeviceContext) {
  // A 2 x 2 picture on the game palette, stretched to 8 x 8.
  InitBmpTemplate();
  MemoryStream file;
  std::array<uint8_t, BmpHeadSize> head = BmpTemplate;
  head[BiWidthOffset] = 2;
  head[BiHeightOffset] = 2;
  file.Write(head.data(), head.size());
  const uint8_t rows[8] = {40, 15, 0, 0, 15, 40, 0, 0};  // bottom row first, 4-byte rows
  file.Write(rows, sizeof(rows));
  file.Seek(0, SeekOrigin::Begin);
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.LoadFromStream(file));
  const auto colourOf = [&](int index) {
    const uint8_t* entry = BmpTemplate.data() + PaletteOffset + 4 * index;
    return RGB(entry[2], entry[1], entry[0]);
  };
  const HDC screen = GetDC(nullptr);
  {
    const MemoryDc buffer(screen, 10, 10);
    StretchBitmap(buffer.Dc(), bitmap, RectAt(1, 1, 8, 8));
    EXPECT_EQ(GetPixel(buffer.Dc(), 2, 2), colourOf(15));
    EXPECT_EQ(GetPixel(buffer.Dc(), 8, 2), colourOf(40));
    EXPECT_EQ(GetPixel(buffer.Dc(), 2, 8), colourOf(40));
    EXPECT_EQ(GetPixel(buffer.Dc(), 8, 8), colourOf(15));
  }
  {
    // The info panel's background resource, drawn at its own size.
    const MemoryDc buffer(screen, 151, 171);
    BackgroundBitmap->Draw(buffer.Dc(), RectAt(0, 0, 151, 171));
    std::vector<COLORREF> seen;
    for (int y = 0; y < 171; y += 17) {
      const COLORREF c = GetPixel(buffer.Dc(), 75, y);
      if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
    }
    EXPECT_GT(seen.size(), 1u);
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(Controls, PaintsShareAGrowingBufferButNeverOneInUse) {
  const HDC screen = GetDC(nullptr);
  const COLORREF red = RGB(255, 0, 0);
  const COLORREF blue = RGB(0, 0, 255);
  const auto fill = [](HDC dc, int32_t w, int32_t h, COLORREF colour) {
    const BrushHandle brush(CreateSolidBrush(colour));
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
  ReleaseDC(nullptr, screen);
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
      tree.Select(tree.FirstChild(section));
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
