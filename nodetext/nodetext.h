// What the tree and the info panel say about a node: captions, titles and
// fact lines, shared by the viewer and the command-line tool.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "pagefile/wlfile.h"

// A tree node's kind; also its picture index in both image lists.
enum NodeKind : int32_t {
  NoNode = -1,
  FileNode = 0,
  TextureSection = 1,
  SpriteSection = 2,
  UnknownSection = 3,
  TextureElement = 4,
  SpriteElement = 5,
  UnknownElement = 6,
};

NodeKind SectionNodeKind(SectionKind section);
NodeKind ElementNodeKind(SectionKind section);

// All captions are UTF-8.
// The file name part of a path: what follows its last backslash, slash or colon.
std::string FileNodeCaption(const std::string& path);
std::string SectionCaption(SectionKind section);
std::string ElementCaption(SectionKind section, uint32_t number);

// Bits per pixel needed for n colours: "1" to "8", empty outside 0 to 256.
std::string ColorBitsText(int32_t colors);

// Title and the five fact lines of the info panel. A line without a value is
// one the node kind does not write; the viewer blanks it.
struct NodeInfo {
  std::string Title;
  std::array<std::optional<std::string>, 5> Lines;
};

// For element kinds `chunk` is the chunk index and a texture or sprite must
// already be decoded (its width and colour count are read from the entry).
NodeInfo NodeInfoText(NodeKind kind, const RWlFile& file, uint32_t chunk = 0);

// The facts of element `chunk` of `section`, whose decoded picture is
// `width` columns wide and uses `colors` palette indices.
NodeInfo ElementInfoText(SectionKind section, const RWlFile& file, uint32_t chunk, int32_t width,
                         uint16_t colors);
