// Browsing an open file: the tree's nodes, the info panel's texts and
// picture, the preview drawn pixel by pixel, the zoom drag and the keyboard.
#include <set>
#include <tuple>
#include <vector>

#include "imaging/bmptemplate.h"
#include "pagewriter.h"
#include "tempdir.h"
#include "ui/elementtree_win.h"
#include "ui/infopanel_win.h"
#include "ui/openfile_win.h"
#include "ui/preview_win.h"
#include "ui_support.h"

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

COLORREF PaletteColor(int index) {
  const uint8_t* entry = BmpTemplate.data() + PaletteOffset + 4 * static_cast<size_t>(index);
  return RGB(entry[2], entry[1], entry[0]);
}

PageChunk Chunk(std::vector<uint8_t> bytes) { return {.Bytes = std::move(bytes), .Offset = {}, .Size = {}}; }

// Texture pixel (x, y): x + 64 y, all 256 indices, each corner its own.
uint8_t GradientIndex(int x, int y) { return static_cast<uint8_t>(x + 64 * y); }

// A texture of 8 x 8 blocks, one index each: zoomed, the middle of a block
// keeps its colour whether the system blends neighbouring pixels or not.
uint8_t BlockIndex(int x, int y) { return static_cast<uint8_t>(1 + x / 8 + 8 * (y / 8)); }

// The sprite of the preview tests: frame columns 10 to 46 (37 wide), every
// pixel opaque but a hole in image column 10, rows 5 to 9.
constexpr int SpriteFirst = 10;
constexpr int SpriteWidth = 37;
int SpriteIndex(int column, int row) {
  if (column == 0 && row == 0) return 40;
  if (column == SpriteWidth - 1 && row == 63) return 100;
  if (column == 10 && row >= 5 && row < 10) return -1;
  return 15;
}

// The file of the panel and preview tests: 106 textures, 435 sprites and 4
// unknown chunks, with the pictures that the preview tests need.
PageFileLayout BrowseLayout() {
  TexturePicture gradient{};
  TexturePicture blocks{};
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      gradient[x][y] = GradientIndex(x, y);
      blocks[x][y] = BlockIndex(x, y);
    }
  }
  PageFileLayout layout;
  layout.Chunks.push_back(Chunk(EncodeTexture(gradient)));           // 0
  layout.Chunks.push_back(Chunk(std::vector<uint8_t>(64 * 64, 1)));  // 1: all index 1
  layout.Chunks.push_back(Chunk({}));                                // 2: empty
  layout.Chunks.push_back(Chunk(EncodeTexture(blocks)));             // 3
  while (layout.Chunks.size() < 106) layout.Chunks.push_back(layout.Chunks[1]);

  SpritePicture sprite = BlankSprite();
  for (int c = 0; c < SpriteWidth; ++c) {
    for (int row = 0; row < 64; ++row)
      sprite[SpriteFirst + c][row] = static_cast<int16_t>(SpriteIndex(c, row));
  }
  layout.Chunks.push_back(Chunk(EncodeSprite(sprite)));  // 106
  layout.Chunks.push_back(Chunk({}));                    // 107: empty
  while (layout.Chunks.size() < 541) layout.Chunks.push_back(Chunk(EncodeSprite(sprite)));
  while (layout.Chunks.size() < 545) layout.Chunks.push_back(Chunk(std::vector<uint8_t>(5, 1)));
  return layout;
}

class Browsing : public MainWindowTest {
 protected:
  TreeView& Tree() { return *Mw().ElementTree; }

  void LoadBrowseFile() {
    path_ = dir_.File("VSWAP.WL6");
    EXPECT_TRUE(WritePageFile(path_, BrowseLayout()));
    LoadWlFile(Mw(), path_);
  }

  // The element node of chunk `index` (the browse file's sections are full).
  HTREEITEM ElementItem(uint32_t index) {
    HTREEITEM item = TreeView_GetChild(Tree().Handle(), index < 106   ? TextureItem
                                                        : index < 541 ? SpriteItem
                                                                      : UnknownItem);
    const uint32_t first = index < 106 ? 0 : index < 541 ? 106 : 541;
    for (uint32_t i = first; i < index && item; ++i) item = TreeView_GetNextSibling(Tree().Handle(), item);
    return item;
  }

  void Select(HTREEITEM item) {
    Tree().Select(item);
    Pump();
  }

  // Caption, title and the five lines, as the panel shows them.
  std::vector<std::string> PanelTexts() {
    std::vector<std::string> texts;
    for (Label* l : {Mw().CaptionLabel, Mw().TitleLabel, Mw().InfoLine1, Mw().InfoLine2, Mw().InfoLine3,
                     Mw().InfoLine4, Mw().InfoLine5})
      texts.push_back(l->Text());
    return texts;
  }

  // The header icon at (14, 14), 32 x 32, as the panel draws it for a kind.
  std::vector<COLORREF> HeaderIcon() {
    const Snapshot s(*Mw().InfoPanel);
    std::vector<COLORREF> pixels;
    for (int y = 14; y < 46; ++y) {
      for (int x = 14; x < 46; ++x) pixels.push_back(s.At(x, y));
    }
    return pixels;
  }

  // Gives the preview pane this client size by resizing the main window.
  void SizePreviewPane(int32_t width, int32_t height) {
    for (int i = 0; i < 2; ++i) {
      const Rect pane = ClientOf(*Mw().PreviewPane);
      const Rect frame = PlaceOf(Frame());
      ResizeMainWindow(frame.Width() + width - pane.Width(), frame.Height() + height - pane.Height());
    }
    ASSERT_EQ(ClientOf(*Mw().PreviewPane), RectAt(0, 0, width, height));
  }

  // A cross of arm 10 centred on (cx, cy): its ends and centre black, the
  // pixels just beyond its ends white.
  void ExpectCross(const Snapshot& s, int32_t cx, int32_t cy) {
    SCOPED_TRACE(testing::Message() << "cross at " << cx << ", " << cy);
    for (const auto& [x, y] :
         {std::pair{cx, cy}, {cx - 10, cy}, {cx + 10, cy}, {cx, cy - 10}, {cx, cy + 10}}) {
      EXPECT_EQ(s.At(x, y), Black) << x << ", " << y;
    }
    for (const auto& [x, y] : {std::pair{cx - 11, cy}, {cx + 11, cy}, {cx, cy - 11}, {cx, cy + 11}}) {
      EXPECT_EQ(s.At(x, y), White) << x << ", " << y;
    }
  }

  TempDir dir_;
  std::string path_;
};

// ---------------------------------------------------------------------------
// The tree

// Walks the whole tree and checks it against a file of `chunks` chunks.
void ExpectTreeOf(const TreeView& tree, const std::string& fileCaption, uint32_t chunks) {
  SCOPED_TRACE(testing::Message() << chunks << " chunks");
  EXPECT_EQ(tree.Count(), static_cast<int32_t>(4 + chunks));
  ASSERT_EQ(tree.Root(), RootItem);
  EXPECT_EQ(NodeCaption(tree, RootItem), fileCaption);
  EXPECT_EQ(NodeKindOf(tree, RootItem), FileNode);

  const HTREEITEM sections[] = {TextureItem, SpriteItem, UnknownItem};
  const char* words[] = {"Текстура", "Спрайт", "Не известен"};
  const uint32_t firsts[] = {0, 106, 541};
  const uint32_t ends[] = {106, 541, 65536};
  HTREEITEM section = TreeView_GetChild(tree.Handle(), RootItem);
  for (int s = 0; s < 3; ++s, section = TreeView_GetNextSibling(tree.Handle(), section)) {
    ASSERT_EQ(section, sections[s]);
    EXPECT_EQ(NodeCaption(tree, section), words[s]);
    EXPECT_EQ(NodeKindOf(tree, section), static_cast<NodeKind>(TextureSection + s));
    TVITEMW selected{};
    selected.mask = TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    selected.hItem = section;
    SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(selected.iSelectedImage, TextureSection + s) << "selected, a node keeps its picture";
    uint32_t index = firsts[s];
    for (HTREEITEM e = TreeView_GetChild(tree.Handle(), section); e;
         e = TreeView_GetNextSibling(tree.Handle(), e), ++index) {
      ASSERT_LT(index, std::min(ends[s], chunks));
      ASSERT_EQ(ChunkIndexOf(tree, e), static_cast<int32_t>(index));
      ASSERT_EQ(NodeKindOf(tree, e), static_cast<NodeKind>(TextureElement + s));
      ASSERT_EQ(NodeCaption(tree, e), std::string(words[s]) + " " + std::to_string(index - firsts[s] + 1));
    }
    EXPECT_EQ(index, std::max(firsts[s], std::min(ends[s], chunks)));
  }
}

TEST_F(Browsing, TreeMirrorsTheFileAndReloadsLeaveNothingBehind) {
  // Which section a chunk falls in, and its number there, are tested
  // natively (wlfile_test.cpp). A file that cannot be read is an empty table.
  for (uint32_t chunks : {663u, 0u, 663u}) {
    const std::string name = std::to_string(chunks) + ".wl6";
    if (chunks > 0) WriteSmallPageFile(dir_, name, chunks);
    LoadWlFile(Mw(), dir_.File(name));
    ExpectTreeOf(Tree(), name, chunks);
    // After a load only the file node shows, and nothing is selected.
    EXPECT_EQ(Tree().Selection(), nullptr);
    EXPECT_FALSE(TreeView_GetItemState(Tree().Handle(), RootItem, TVIS_EXPANDED))
        << "sections are hidden under the collapsed file node";
  }
}

TEST_F(Browsing, PicturesAreTransparentWherePureRed) {
  // Drawn over white, no picture of either list shows pure red.
  for (const ImageList* list : {&SmallImages, &LargeImages}) {
    int w = 0;
    int h = 0;
    ImageList_GetIconSize(list->Handle(), &w, &h);
    ASSERT_EQ(list->Count(), 7);
    for (int kind = 0; kind < 7; ++kind) {
      const MemoryDc buffer(ScreenDc(), w, h);
      const RECT all{0, 0, w, h};
      FillRect(buffer.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      list->Draw(buffer.Dc(), kind, 0, 0);
      int red = 0;
      int white = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          red += GetPixel(buffer.Dc(), x, y) == RGB(255, 0, 0);
          white += GetPixel(buffer.Dc(), x, y) == White;
        }
      }
      EXPECT_EQ(red, 0) << w << " px, kind " << kind;
      EXPECT_GT(white, 0) << w << " px, kind " << kind << ": the transparent border shows the white below";
    }
  }
}

// ---------------------------------------------------------------------------
// The info panel

TEST_F(Browsing, ThePanelShowsEveryKindAndThePreviewTexturesAndSpritesThatHaveAPicture) {
  // The texts themselves are tested natively (nodetext_test.cpp); here, that
  // the panel shows them, for the file node, the sections and elements of
  // each kind, under seven different icons, none of them the program's.
  const std::vector<COLORREF> programIcon = HeaderIcon();
  LoadBrowseFile();
  const auto blank = [&] { return Snapshot(*Mw().PreviewPane).CountOther(White) == 0; };
  EXPECT_TRUE(blank()) << "after the load";
  std::set<std::vector<COLORREF>> icons;
  for (const HTREEITEM item : {RootItem, TextureItem, SpriteItem, UnknownItem, ElementItem(1),
                               ElementItem(106), ElementItem(542), ElementItem(2), ElementItem(107)}) {
    SCOPED_TRACE(NodeCaption(Tree(), item));
    // After a node that writes all five lines and draws, so that blanking shows.
    Select(ElementItem(0));
    ASSERT_FALSE(blank());
    Select(item);
    EXPECT_EQ(blank(), item != ElementItem(1) && item != ElementItem(106)) << "empty elements draw nothing";
    const NodeKind kind = NodeKindOf(Tree(), item);
    const auto chunk = static_cast<uint32_t>(ChunkIndexOf(Tree(), item).value_or(0));
    const NodeInfo info = NodeInfoText(kind, WlFile, chunk);
    std::vector<std::string> expected{NodeCaption(Tree(), item), info.Title};
    for (const std::optional<std::string>& line : info.Lines) expected.push_back(line.value_or(""));
    EXPECT_EQ(PanelTexts(), expected);
    EXPECT_EQ(SelectedKind, kind);
    icons.insert(HeaderIcon());
  }
  EXPECT_EQ(icons.size(), 7u);
  EXPECT_EQ(icons.count(programIcon), 0u);
  // A sprite's width and colours come from its decode.
  Select(ElementItem(106));
  EXPECT_EQ(Mw().InfoLine3->Text(), "Width: 37");
  EXPECT_EQ(Mw().InfoLine5->Text(), "Colors: 3 (2 bit)");
}

TEST_F(Browsing, ReloadingOverAZoomedElementShowsTheNewFileNode) {
  LoadBrowseFile();
  Select(ElementItem(106));
  ZoomState.Zoom = 2.0;
  LoadWlFile(Mw(), path_);
  EXPECT_EQ(Tree().Count(), 549);
  EXPECT_EQ(Tree().Selection(), nullptr);
  EXPECT_EQ(ZoomState.Zoom, 1.0);
  // The file node's facts, not the sprite's, although it was selected; the
  // start view's links are gone.
  EXPECT_EQ(SelectedKind, FileNode);
  EXPECT_EQ(Mw().CaptionLabel->Text(), "VSWAP.WL6");
  EXPECT_FALSE(IsWindowVisible(Mw().AuthorLink->Handle()));
  EXPECT_FALSE(IsWindowVisible(Mw().WebLink->Handle()));
}

TEST_F(Browsing, PanelPictureHasTheRuleAndTheProgramsIconForNodesThatCannotBeRead) {
  PaintBox& panel = *Mw().InfoPanel;
  const std::vector<COLORREF> programIcon = HeaderIcon();
  LoadBrowseFile();
  Select(ElementItem(0));
  // A node that cannot be read, after one that wrote every line, shows
  // nothing but the program's icon.
  ShowNodeInfo(Mw(), Tree(), nullptr, nullptr);
  EXPECT_EQ(SelectedKind, NoNode);
  EXPECT_EQ(PanelTexts(), std::vector<std::string>(7, ""));
  EXPECT_EQ(HeaderIcon(), programIcon);
  // An element node whose item data is missing is treated the same way.
  const HTREEITEM stray = Tree().InsertItem(TextureItem, TVI_LAST, "stray", TextureElement);
  ShowNodeInfo(Mw(), Tree(), nullptr, stray);
  EXPECT_EQ(SelectedKind, NoNode);
  EXPECT_EQ(Mw().CaptionLabel->Text(), "stray");
  EXPECT_EQ(Mw().TitleLabel->Text(), "");

  // The background picture shows, not one colour; the red rule runs across
  // the whole width at y = 71, also once widened.
  const Snapshot picture(panel);
  std::set<COLORREF> background;
  for (int y = 0; y < 171; y += 17) background.insert(picture.At(75, y));
  EXPECT_GT(background.size(), 1u);
  for (int32_t width : {233, 420}) {
    panel.SetWidth(width);
    Pump();
    const Snapshot s(panel);
    ASSERT_EQ(s.Width(), width);
    for (int32_t x : {0, 100, 232, width - 1}) {
      EXPECT_EQ(s.At(x, 71), RGB(255, 0, 0)) << x;
      EXPECT_NE(s.At(x, 72), RGB(255, 0, 0)) << x;
    }
  }
}

// ---------------------------------------------------------------------------
// The preview

TEST_F(Browsing, ElementsAreDrawnCentredWithCornerCrossesInTheirPaletteColors) {
  // Where the image and its crosses go is tested natively (preview_test.cpp);
  // here, that they are drawn there, in the right colours and nothing else.
  SizePreviewPane(400, 300);
  LoadBrowseFile();
  Select(ElementItem(0));
  const Snapshot s(*Mw().PreviewPane);
  // The texture covers (168, 118) to (231, 181), the right way round.
  for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}, {22, 13}})
    EXPECT_EQ(s.At(168 + x, 118 + y), PaletteColor(GradientIndex(x, y))) << x << ", " << y;
  ExpectCross(s, 167, 117);
  ExpectCross(s, 232, 182);
  // Nothing else is drawn: the image (some palette colours are white) and
  // four crosses of 41 pixels each.
  int32_t colored = 0;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) colored += PaletteColor(GradientIndex(x, y)) != White;
  }
  EXPECT_EQ(s.CountOther(White), colored + 4 * 41);

  // A sprite at its own width, 37 x 64 at (182, 118); uncovered pixels are
  // index 0, drawn in its colour rather than left out.
  Select(ElementItem(106));
  ASSERT_NE(PaletteColor(0), PaletteColor(15));
  const Snapshot sprite(*Mw().PreviewPane);
  for (const auto& [column, row, index] :
       {std::tuple{0, 0, 40}, {1, 0, 15}, {36, 63, 100}, {10, 7, 0}, {11, 7, 15}})
    EXPECT_EQ(sprite.At(182 + column, 118 + row), PaletteColor(index)) << column << ", " << row;
  ExpectCross(sprite, 181, 117);
  ExpectCross(sprite, 219, 182);
}

TEST_F(Browsing, DeepZoomsShowTheRightPartAndCoverThePane) {
  SizePreviewPane(400, 300);
  LoadBrowseFile();
  Select(ElementItem(3));
  // At 10 the image is 640 x 640 at (-120, -170): pane pixel (x, y) lies in
  // cell ((x + 120) / 10, (y + 170) / 10). Pixels two cells inside a block
  // show its colour, across the whole pane.
  ZoomState.Zoom = 10.0;
  {
    const Snapshot s(*Mw().PreviewPane);
    int checked = 0;
    for (int y = 0; y < 300; y += 7) {
      for (int x = 0; x < 400; x += 7) {
        const int cx = (x + 120) / 10;
        const int cy = (y + 170) / 10;
        if (cx % 8 < 2 || cx % 8 > 5 || cy % 8 < 2 || cy % 8 > 5) continue;
        ASSERT_EQ(s.At(x, y), PaletteColor(BlockIndex(cx, cy))) << x << ", " << y;
        ++checked;
      }
    }
    EXPECT_GT(checked, 500);
  }
  // Deeper, up to the cap, one colour fills the whole pane: nothing
  // overflows and nothing is left white.
  Select(ElementItem(1));
  for (double zoom : {1000.0, MaxZoom}) {
    ZoomState.Zoom = zoom;
    EXPECT_EQ(Snapshot(*Mw().PreviewPane).CountOther(PaletteColor(1)), 0) << zoom;
  }
}

TEST_F(Browsing, LeftDragZoomsAndAnyReleaseEndsIt) {
  // The drag's arithmetic is tested natively (preview_test.cpp); here, that
  // the pane's mouse messages drive it, with the capture and the repaints.
  SizePreviewPane(400, 300);
  LoadBrowseFile();
  Select(ElementItem(1));  // plain, not white
  const HWND pane = Mw().PreviewPane->Handle();
  const auto send = [&](UINT message, int32_t y) { SendMessageW(pane, message, 0, MAKELPARAM(50, y)); };
  send(WM_RBUTTONDOWN, 100);
  EXPECT_EQ(GetCapture(), nullptr) << "the right button starts nothing";

  send(WM_LBUTTONDOWN, 100);
  EXPECT_EQ(GetCapture(), pane);
  ValidateRect(pane, nullptr);
  send(WM_MOUSEMOVE, 80);
  EXPECT_DOUBLE_EQ(ZoomState.Zoom, 2.0);
  EXPECT_TRUE(GetUpdateRect(pane, nullptr, FALSE)) << "every move repaints";
  EXPECT_EQ(Snapshot(*Mw().PreviewPane).CountOther(White), 128 * 128 + 4 * 41);

  // Releasing the right button ends the left button's drag; the next
  // selection resets the zoom.
  send(WM_RBUTTONUP, 90);
  EXPECT_EQ(GetCapture(), nullptr);
  send(WM_MOUSEMOVE, 0);
  EXPECT_DOUBLE_EQ(ZoomState.Zoom, 2.0);
  Select(ElementItem(106));
  EXPECT_EQ(ZoomState.Zoom, 1.0);
}

// ---------------------------------------------------------------------------
// The keyboard

TEST_F(Browsing, TheKeyboardBrowsesAFreshlyOpenedFile) {
  // The main window handed the focus to the tree when it was activated.
  EXPECT_EQ(GetFocus(), Tree().Handle());
  LoadBrowseFile();
  const auto press = [&](WORD key) {
    TypeKeys({key});
    PumpUntil([] { return false; }, std::chrono::milliseconds(100));
  };
  press(VK_DOWN);
  EXPECT_EQ(Tree().Selection(), RootItem) << "the first key selects the file node";
  press(VK_RIGHT);
  press(VK_DOWN);
  EXPECT_EQ(Tree().Selection(), TextureItem);
  press(VK_RIGHT);
  press(VK_DOWN);
  press(VK_DOWN);
  EXPECT_EQ(Tree().Selection(), ElementItem(1));
  EXPECT_EQ(SelectedKind, TextureElement) << "the panel follows the keys";
  press(VK_END);
  EXPECT_EQ(Tree().Selection(), UnknownItem);

  // Coming back to the window brings the focus back to the tree.
  SetFocus(nullptr);
  SetFocus(Frame());
  EXPECT_EQ(GetFocus(), Tree().Handle());
}

}  // namespace
