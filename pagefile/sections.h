// The sections of a page file as the game reads them: from the header words,
// not from the viewer's fixed split. Textures are chunks 0 to the first
// sprite chunk - 1, sprites run up to the first sound chunk - 1, the sound
// pages follow, and the last chunk is the sound table.
#pragma once

#include <cstdint>
#include <string>

#include "pagefile/wlfile.h"

struct GameSections {
  uint32_t SpriteStart = 0;  // also the number of textures
  uint32_t SoundStart = 0;
  uint32_t ChunkCount = 0;
  // False when the header words do not fit the table (a word of 0, a start
  // past the last chunk, or the sound start below the sprite start): then
  // the viewer's split stands in, 106 textures and 435 sprites, as far as
  // the table reaches.
  bool FromHeader = false;

  uint32_t Textures() const { return SpriteStart; }
  uint32_t Sprites() const { return SoundStart - SpriteStart; }
  // The sound table is the last chunk, when one is left after the sprites.
  bool HasTable() const { return SoundStart < ChunkCount; }
  uint32_t TableChunk() const { return ChunkCount - 1; }
  uint32_t SoundPages() const { return HasTable() ? TableChunk() - SoundStart : 0; }

  // Texture, Sprite, or Unknown for the sound pages and the table.
  SectionKind Of(uint32_t chunk) const;
  // The element number of a texture or sprite chunk in its section, from 1:
  // texture-NNN is chunk NNN - 1, sprite-NNN is SpriteStart + NNN - 1.
  uint32_t Number(uint32_t chunk) const;
  // The chunk of element `number` (from 1) of a texture or sprite section.
  uint32_t ChunkOf(SectionKind section, uint32_t number) const;
  // How many elements a texture or sprite section has.
  uint32_t Count(SectionKind section) const;
};

GameSections ReadGameSections(const HeaderWords& header, uint32_t chunkCount);
inline GameSections ReadGameSections(const RWlFile& file) {
  return ReadGameSections(file.Header, static_cast<uint32_t>(file.Chunks.size()));
}

// Why the header words do not fit, for a file whose sections fall back to
// the viewer's split; empty when they fit or the table is empty.
std::string SectionsFallbackReason(const HeaderWords& header, uint32_t chunkCount);
