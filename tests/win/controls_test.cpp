// The controls' own behaviour: tree nodes and their values, label and paint
// box events, transparent double-buffered drawing, bitmaps and handle use.
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

TEST_F(Controls, TreeNodesCarryTheirKindsAndChunkIndexes) {
  const TempDir dir;
  PageFileLayout layout;
  for (int i = 0; i < 663; ++i)
    layout.Chunks.push_back({.Bytes = std::vector<uint8_t>(1, 0), .Offset = {}, .Size = {}});
  const std::string path = dir.File("VSWAP.WL6");
  ASSERT_TRUE(WritePageFile(path, layout));
  LoadWlFile(Mw(), path);

  const TreeView& tree = *Mw().ElementTree;
  EXPECT_EQ(NodeCaption(tree, RootItem), "VSWAP.WL6");
  EXPECT_EQ(NodeKindOf(tree, RootItem), FileNode);
  EXPECT_EQ(ChunkIndexOf(tree, RootItem), std::nullopt);
  EXPECT_EQ(tree.FirstChild(RootItem), TextureItem);
  EXPECT_EQ(tree.NextSibling(TextureItem), SpriteItem);
  EXPECT_EQ(tree.NextSibling(SpriteItem), UnknownItem);
  EXPECT_EQ(tree.NextSibling(UnknownItem), nullptr);

  struct Section {
    HTREEITEM item;
    NodeKind kind;
    const char* caption;
    int32_t first;
    int32_t count;
  };
  for (const Section& s : {Section{TextureItem, TextureSection, "Текстура", 0, 106},
                           Section{SpriteItem, SpriteSection, "Спрайт", 106, 435},
                           Section{UnknownItem, UnknownSection, "Не известен", 541, 122}}) {
    SCOPED_TRACE(s.caption);
    EXPECT_EQ(NodeCaption(tree, s.item), s.caption);
    EXPECT_EQ(NodeKindOf(tree, s.item), s.kind);
    TVITEMW selected{};
    selected.mask = TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    selected.hItem = s.item;
    SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(selected.iSelectedImage, s.kind);
    int32_t n = 0;
    for (HTREEITEM e = tree.FirstChild(s.item); e; e = tree.NextSibling(e), ++n) {
      ASSERT_EQ(ChunkIndexOf(tree, e), s.first + n);
      ASSERT_EQ(NodeKindOf(tree, e), s.kind + 3);
      if (n == 0 || n == s.count - 1) {
        EXPECT_EQ(NodeCaption(tree, e), std::string(s.caption) + " " + std::to_string(n + 1));
      }
    }
    EXPECT_EQ(n, s.count);
  }
  EXPECT_EQ(NodeKindOf(tree, nullptr), NoNode);
  EXPECT_EQ(NodeCaption(tree, nullptr), "");
  // Nothing is selected or expanded by the program.
  EXPECT_EQ(tree.Selection(), nullptr);
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

TEST_F(Controls, RepeatedLayoutsLoadsAndDialogsKeepTheHandleCount) {
  const auto count = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
  if (count() == 0) GTEST_SKIP() << "Wine does not count GDI objects (GetGuiResources)";
  const TempDir dir;
  const std::string path = dir.File("vswap.wl6");
  PageFileLayout layout;
  layout.Chunks.resize(50);
  ASSERT_TRUE(WritePageFile(path, layout));
  const auto round = [&] {
    ResizeMainWindow(700, 500);
    ResizeMainWindow(619, 483);
    LoadWlFile(Mw(), path);
    RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  round();
  const DWORD before = count();
  for (int i = 0; i < 5; ++i) round();
  EXPECT_EQ(count(), before);
}

}  // namespace
