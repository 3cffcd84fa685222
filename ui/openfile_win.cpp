#include "ui/openfile_win.h"

#include "ui/elementtree_win.h"
#include "ui/infopanel_win.h"
#include "ui/viewer_win.h"

void LoadWlFile(RMainWindow& mw, const std::string& path) {
  TreeView& tree = *mw.ElementTree;
  // Tens of thousands of nodes go in at once: one repaint at the end, no
  // flicker and no redraw per node.
  tree.SetRedraw(false);
  ClearTree(tree);
  TreeBuilder builder(tree);
  // A file that cannot be read is an empty table, and the tree shows it.
  std::string ignored;
  LoadPageFile(WlFile, path, ignored, &builder);
  tree.SetRedraw(true);
  mw.AuthorLink->Hide();
  mw.WebLink->Hide();
  ShowNodeInfo(mw, *mw.Frame, nullptr, RootItem);
}
