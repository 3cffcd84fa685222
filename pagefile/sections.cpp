#include "pagefile/sections.h"

#include <algorithm>

SectionKind GameSections::Of(uint32_t chunk) const {
  if (chunk < SpriteStart) return SectionKind::Texture;
  if (chunk < SoundStart) return SectionKind::Sprite;
  return SectionKind::Unknown;
}

uint32_t GameSections::Number(uint32_t chunk) const {
  return Of(chunk) == SectionKind::Sprite ? chunk - SpriteStart + 1 : chunk + 1;
}

uint32_t GameSections::ChunkOf(SectionKind section, uint32_t number) const {
  return section == SectionKind::Sprite ? SpriteStart + number - 1 : number - 1;
}

uint32_t GameSections::Count(SectionKind section) const {
  switch (section) {
    case SectionKind::Texture:
      return Textures();
    case SectionKind::Sprite:
      return Sprites();
    case SectionKind::Unknown:
      break;
  }
  return 0;
}

std::string SectionsFallbackReason(const HeaderWords& header, uint32_t chunkCount) {
  if (chunkCount == 0) return {};
  const std::string words = "the header's first sprite chunk " + std::to_string(header.SpriteStart) +
                            " and first sound chunk " + std::to_string(header.SoundStart);
  if (header.SpriteStart == 0 || header.SoundStart == 0) return words + " include a 0";
  if (header.SoundStart < header.SpriteStart) return words + ": the sounds start before the sprites";
  if (header.SoundStart > chunkCount - 1)
    return words + " reach past the sound table, the last of the " + std::to_string(chunkCount) + " chunks";
  return {};
}

GameSections ReadGameSections(const HeaderWords& header, uint32_t chunkCount) {
  GameSections sections;
  sections.ChunkCount = chunkCount;
  sections.FromHeader = chunkCount > 0 && SectionsFallbackReason(header, chunkCount).empty();
  if (sections.FromHeader) {
    sections.SpriteStart = header.SpriteStart;
    sections.SoundStart = header.SoundStart;
  } else {
    sections.SpriteStart = std::min(chunkCount, TextureChunks);
    sections.SoundStart = std::min(chunkCount, TextureChunks + SpriteChunks);
  }
  return sections;
}
