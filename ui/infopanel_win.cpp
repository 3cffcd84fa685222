#include "ui/infopanel_win.h"

#include "imaging/decoder.h"
#include "nodetext/nodetext.h"
#include "ui/elementtree_win.h"
#include "ui/viewer_win.h"

namespace {
constexpr int32_t RuleY = 71;
constexpr int32_t HeaderIconAt = 14;
constexpr int32_t HeaderIconSize = 32;  // the program's icon and the large pictures

// The chunk an element node stands for, when it lies in the open file's table.
std::optional<uint32_t> ChunkOf(const TreeView& tree, HTREEITEM item) {
  const std::optional<int32_t> index = ChunkIndexOf(tree, item);
  if (!index || *index < 0 || static_cast<size_t>(*index) >= WlFile.Chunks.size()) return std::nullopt;
  return static_cast<uint32_t>(*index);
}
}  // namespace

void ShowNodeInfo(RMainWindow& mw, Window&, HTREEITEM, HTREEITEM newItem) {
  const TreeView& tree = *mw.ElementTree;
  mw.CaptionLabel->SetText(NodeCaption(tree, newItem));
  NodeKind kind = NodeKindOf(tree, newItem);
  ZoomState.Zoom = 1.0;
  uint32_t chunk = 0;
  if (kind >= TextureElement) {
    // Element nodes always carry an index of the open file; one that does
    // not is shown as a node that cannot be read.
    if (const std::optional<uint32_t> index = ChunkOf(tree, newItem)) {
      chunk = *index;
      EnsureDecoded(WlFile, chunk);
    } else {
      kind = NoNode;
    }
  }
  SelectedKind = kind;

  const NodeInfo info = NodeInfoText(kind, WlFile, chunk);
  mw.TitleLabel->SetText(info.Title);
  Label* const lines[] = {mw.InfoLine1, mw.InfoLine2, mw.InfoLine3, mw.InfoLine4, mw.InfoLine5};
  for (size_t i = 0; i < std::size(lines); ++i) lines[i]->SetText(info.Lines[i].value_or(""));

  mw.InfoPanel->Invalidate();
  mw.PreviewPane->Invalidate();
}

void PaintInfoPanel(RMainWindow&, PaintBox& panel, HDC dc) {
  if (BackgroundBitmap && !BackgroundBitmap->Empty()) {
    BackgroundBitmap->Draw(dc, RectAt(0, 0, BackgroundBitmap->Width(), BackgroundBitmap->Height()));
  }
  {
    const PenHandle red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    const SelectScope pen(dc, red.Get());
    MoveToEx(dc, 0, RuleY, nullptr);
    LineTo(dc, panel.ClientRect().Width(), RuleY);
  }
  // A label paints the panel under its text, clipped to itself, and no label
  // reaches the header picture: an icon costs its drawing even where none of
  // it shows.
  const RECT header{HeaderIconAt, HeaderIconAt, HeaderIconAt + HeaderIconSize, HeaderIconAt + HeaderIconSize};
  if (!RectVisible(dc, &header)) return;
  if (SelectedKind == NoNode) {
    // A shared icon of the program: looked up once, never destroyed.
    static const HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MainIco");
    if (icon) {
      DrawIconEx(dc, HeaderIconAt, HeaderIconAt, icon, 0, 0, 0, nullptr, DI_NORMAL);
    }
  } else {
    LargeImages.Draw(dc, SelectedKind, HeaderIconAt, HeaderIconAt, ILD_NORMAL);
  }
}
