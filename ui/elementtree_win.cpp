#include "ui/elementtree_win.h"

#include "ui/viewer_win.h"

namespace {
constexpr COLORREF Transparent = RGB(255, 0, 0);

void FillImageList(ImageList& list, std::initializer_list<const wchar_t*> pictures) {
  for (const wchar_t* name : pictures) list.AddMaskedResource(name, Transparent);
}
}  // namespace

void CreateImageLists(TreeView& tree) {
  SmallImages = ImageList(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0);
  FillImageList(SmallImages, {L"FILEPICS", L"TEXTDIRPICS", L"SPRITEDIRPICS", L"UNKNOWDIRPICS", L"TEXTDOCPICS",
                              L"SPRITEDOCPICS", L"UNKNOWDOCPICS"});
  tree.SetImageList(SmallImages.Handle());
  LargeImages = ImageList(32, 32, ILC_COLOR32 | ILC_MASK, 4, 0);
  FillImageList(LargeImages, {L"FILEPIC", L"TEXTDIRPIC", L"SPRITEDIRPIC", L"UNKNOWDIRPIC", L"TEXTDOCPIC",
                              L"SPRITEDOCPIC", L"UNKNOWDOCPIC"});
}

void ClearTree(TreeView& tree) {
  if (const HTREEITEM root = tree.Root()) tree.DeleteItem(root);
}

HTREEITEM TreeBuilder::AddNode(HTREEITEM parent, HTREEITEM after, const std::string& caption, NodeKind kind,
                               std::optional<int32_t> chunk) {
  return tree_.InsertItem(parent, after, caption, kind, chunk);
}

void TreeBuilder::DirectoryRead(const RWlFile& file) {
  RootItem = AddNode(TVI_ROOT, TVI_FIRST, FileNodeCaption(file.FileName), FileNode);
  TextureItem = AddNode(RootItem, TVI_LAST, SectionCaption(SectionKind::Texture), TextureSection);
  SpriteItem = AddNode(RootItem, TVI_LAST, SectionCaption(SectionKind::Sprite), SpriteSection);
  UnknownItem = AddNode(RootItem, TVI_LAST, SectionCaption(SectionKind::Unknown), UnknownSection);
}

void TreeBuilder::ChunkCounted(const RWlFile&, uint32_t index, SectionKind section, uint32_t number) {
  const HTREEITEM parent = section == SectionKind::Texture  ? TextureItem
                           : section == SectionKind::Sprite ? SpriteItem
                                                            : UnknownItem;
  AddNode(parent, TVI_LAST, ElementCaption(section, number), ElementNodeKind(section),
          static_cast<int32_t>(index));
}

NodeKind NodeKindOf(const TreeView& tree, HTREEITEM item) {
  const int32_t image = tree.ItemImage(item);
  return image >= FileNode && image <= UnknownElement ? static_cast<NodeKind>(image) : NoNode;
}

std::optional<int32_t> ChunkIndexOf(const TreeView& tree, HTREEITEM item) { return tree.ItemValue(item); }

std::string NodeCaption(const TreeView& tree, HTREEITEM item) { return tree.ItemText(item); }
