// The element tree: its pictures, and the nodes of the open file. A node's
// kind is its image index; an element node's chunk index is its item value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pagefile/wlfile.h"
#include "nodetext/nodetext.h"
#include "winlayer/winlayer_win.h"

// Builds SmallImages and LargeImages from the program's pictures and puts the
// small ones on the tree.
void CreateImageLists(TreeView& tree);

// Deletes the file node with everything under it.
void ClearTree(TreeView& tree);

// Adds the nodes of a page file while it loads: the file node and its three
// sections once the directory is read, then one element node per chunk.
class TreeBuilder final : public LoadObserver {
 public:
  explicit TreeBuilder(TreeView& tree) : tree_(tree) {}
  void DirectoryRead(const RWlFile& file) override;
  void ChunkCounted(const RWlFile& file, uint32_t index, SectionKind section, uint32_t number) override;

 private:
  // Element nodes carry their chunk index; file and section nodes none.
  HTREEITEM AddNode(HTREEITEM parent, HTREEITEM after, const std::string& caption, NodeKind kind,
                    std::optional<int32_t> chunk = std::nullopt);

  TreeView& tree_;  // not owned
};

// NoNode when the item cannot be read.
NodeKind NodeKindOf(const TreeView& tree, HTREEITEM item);
// Only element nodes carry a chunk index.
std::optional<int32_t> ChunkIndexOf(const TreeView& tree, HTREEITEM item);
std::string NodeCaption(const TreeView& tree, HTREEITEM item);
