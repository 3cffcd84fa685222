#include "base/unicode_win.h"
#include "winlayer/winlayer_win.h"

namespace {
const wchar_t* TreeClass() {
  static const bool ready = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  return ready ? WC_TREEVIEWW : nullptr;
}

bool MovesSelection(WPARAM key) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
      return true;
    default:
      return false;
  }
}
}  // namespace

TreeView* TreeView::CreateIn(Window& parent, const TreeViewOptions& options) {
  TreeView& tree = parent.AddChild(std::make_unique<TreeView>());
  if (options.Color) tree.SetColor(*options.Color);
  tree.SetPlacement(options.Alignment, options.Bounds, 0);
  if (!tree.CreateHandle({.ClassName = TreeClass(),
                          .Style = TreeStyle,
                          .ExStyle = WS_EX_CLIENTEDGE,
                          .Bounds = options.Bounds,
                          .Parent = parent.Handle()})) {
    parent.DropChild(tree);
    return nullptr;
  }
  SendMessageW(tree.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(tree.FontHandleOf()), FALSE);
  parent.Relayout();
  return &tree;
}

HTREEITEM TreeView::InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text, int32_t image,
                               std::optional<int32_t> value) {
  std::wstring wide = Widen(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = wide.data();
  if (image >= 0) {
    insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
  }
  // The tree owns the integer: TVN_DELETEITEM frees it with the item.
  std::unique_ptr<int32_t> owned;
  if (value) {
    owned = std::make_unique<int32_t>(*value);
    insert.item.mask |= TVIF_PARAM;
    insert.item.lParam = reinterpret_cast<LPARAM>(owned.get());
  }
  const auto item = reinterpret_cast<HTREEITEM>(
      SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item) owned.release();
  return item;
}

int32_t TreeView::ItemImage(HTREEITEM item) const {
  TVITEMW get{};
  get.mask = TVIF_IMAGE | TVIF_HANDLE;
  get.hItem = item;
  if (!item || !SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get))) return -1;
  return get.iImage;
}

std::optional<int32_t> TreeView::ItemValue(HTREEITEM item) const {
  TVITEMW get{};
  get.mask = TVIF_PARAM | TVIF_HANDLE;
  get.hItem = item;
  if (!item || !SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get)) || !get.lParam) {
    return std::nullopt;
  }
  return *reinterpret_cast<const int32_t*>(get.lParam);
}

std::string TreeView::ItemText(HTREEITEM item) const {
  wchar_t text[4096] = {};
  TVITEMW get{};
  get.mask = TVIF_TEXT | TVIF_HANDLE;
  get.hItem = item;
  get.pszText = text;
  get.cchTextMax = static_cast<int>(std::size(text));
  if (!item || !SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get))) return {};
  return Narrow(get.pszText);
}

HTREEITEM TreeView::Root() const {
  return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM TreeView::FirstVisible() const {
  return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
}

HTREEITEM TreeView::Selection() const {
  return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TreeView::Select(HTREEITEM item) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void TreeView::DeleteItem(HTREEITEM item) {
  SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

int32_t TreeView::Count() const { return static_cast<int32_t>(SendMessageW(Handle(), TVM_GETCOUNT, 0, 0)); }

void TreeView::SetImageList(HIMAGELIST list) {
  SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

LRESULT TreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      // Items go while the parent still hands their TVN_DELETEITEM back to us.
      DeleteItem(TVI_ROOT);
      break;
    case WM_KEYDOWN:
      // A tree refilled while it had the focus has no selection, and the
      // system's tree then ignores the keyboard. The first movement key
      // selects the top item, as gaining the focus would have done.
      if (MovesSelection(wParam) && !Selection()) {
        if (const HTREEITEM top = FirstVisible()) {
          Select(top);
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> TreeView::Notified(const NMHDR& header) {
  // The ANSI and wide notifications share the fields read here.
  const auto& tree = reinterpret_cast<const NMTREEVIEWW&>(header);
  switch (header.code) {
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGINGA:
      if (SelectionChanging) SelectionChanging(*this, tree.itemOld.hItem, tree.itemNew.hItem);
      return FALSE;
    case TVN_DELETEITEMW:
    case TVN_DELETEITEMA:
      delete reinterpret_cast<int32_t*>(tree.itemOld.lParam);
      return 0;
    default:
      return std::nullopt;
  }
}
