#include "nodetext/nodetext.h"

#include "base/codepage.h"
#include "nodetext/words.h"

NodeKind SectionNodeKind(SectionKind section) {
  switch (section) {
    case SectionKind::Texture:
      return TextureSection;
    case SectionKind::Sprite:
      return SpriteSection;
    case SectionKind::Unknown:
      break;
  }
  return UnknownSection;
}

NodeKind ElementNodeKind(SectionKind section) { return static_cast<NodeKind>(SectionNodeKind(section) + 3); }

std::string FileNodeCaption(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string SectionCaption(SectionKind section) {
  switch (section) {
    case SectionKind::Texture:
      return Cp1251ToUtf8(TextureWord);
    case SectionKind::Sprite:
      return Cp1251ToUtf8(SpriteWord);
    case SectionKind::Unknown:
      break;
  }
  return Cp1251ToUtf8(UnknownWord);
}

std::string ElementCaption(SectionKind section, uint32_t number) {
  return SectionCaption(section) + " " + std::to_string(number);
}

std::string ColorBitsText(int32_t colors) {
  if (colors < 0 || colors > 256) return {};
  int bits = 1;
  while ((1 << bits) < colors) ++bits;
  return std::to_string(bits);
}

namespace {
std::string ColorLine(uint16_t colors) {
  return "Colors: " + std::to_string(colors) + " (" + ColorBitsText(colors) + " bit)";
}

NodeInfo SectionInfo(const char* title, int64_t bytes, uint16_t count) {
  return {title, {"Size: " + std::to_string(bytes), "Elements: " + std::to_string(count)}};
}

// The info panel counts from the file's own section counts.
std::string NumberLine(uint32_t chunk, int64_t first) {
  return "Num: " + std::to_string(int64_t{chunk} + 1 - first);
}
}  // namespace

NodeInfo ElementInfoText(SectionKind section, const RWlFile& file, uint32_t chunk, int32_t width,
                         uint16_t colors) {
  switch (section) {
    case SectionKind::Texture:
      return {"Texture Element",
              {NumberLine(chunk, 0), "Size: 4096", "Width: 64", "Height: 64", ColorLine(colors)}};
    case SectionKind::Sprite:
      return {"Sprite Element",
              {NumberLine(chunk, file.TextureCount), "Size: " + std::to_string(file.Chunks.at(chunk).Size),
               "Width: " + std::to_string(width), "Height: 64", ColorLine(colors)}};
    case SectionKind::Unknown:
      break;
  }
  return {"Unknow Element",
          {NumberLine(chunk, int64_t{file.TextureCount} + file.SpriteCount),
           "Size: " + std::to_string(file.Chunks.at(chunk).Size)}};
}

NodeInfo NodeInfoText(NodeKind kind, const RWlFile& file, uint32_t chunk) {
  switch (kind) {
    case FileNode:
      return {
          "Wolf3D Grafic File",
          {"File Size: " + std::to_string(file.FileSize), "Elements: " + std::to_string(file.Chunks.size())}};
    case TextureSection:
      return SectionInfo("Texture Section", file.TextureBytes, file.TextureCount);
    case SpriteSection:
      return SectionInfo("Sprite Section", file.SpriteBytes, file.SpriteCount);
    case UnknownSection:
      return SectionInfo("Unknow Section", file.UnknownBytes, file.UnknownCount);
    case TextureElement:
    case SpriteElement:
    case UnknownElement: {
      const RWlChunk& e = file.Chunks.at(chunk);
      const SectionKind section = kind == TextureElement  ? SectionKind::Texture
                                  : kind == SpriteElement ? SectionKind::Sprite
                                                          : SectionKind::Unknown;
      return ElementInfoText(section, file, chunk, e.Image ? e.Image->Width() : 0, e.Colors);
    }
    case NoNode:
      break;
  }
  return {};
}
