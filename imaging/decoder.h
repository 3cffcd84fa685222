// Texture and sprite decoding: a chunk becomes a plane of palette indices
// with its holes, and the viewer's 8-bit palettised bitmap 64 rows high, by
// way of a BMP file image built on BmpTemplate.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "base/bytevector.h"
#include "imaging/bmptemplate.h"
#include "imaging/framedpicture.h"
#include "pagefile/wlfile.h"

class MemoryStream;
struct ByteView;

// A texture or sprite as the decoder draws it: Width columns of 64 palette
// indices, column after column from the top row, column c being the frame's
// column First + c; pixels that no run draws are holes of index 0 (a texture
// has none), and so are the columns from Width on. Colors counts the indices
// of the drawn pixels that the chunk holds.
struct ElementPlane {
  int32_t First = 0;
  int32_t Width = 0;  // 0 to 64
  std::array<uint8_t, FramePixels> Index;
  std::array<uint8_t, FramePixels> Opaque;  // 1 where a pixel is drawn
  uint16_t Colors = 0;
};

// Decodes a texture or sprite chunk, all of its bytes (see WholeChunk);
// damaged chunks give a plane too, by the rules in decoder.cpp. The unknown
// section gives an empty plane.
ElementPlane DecodePlane(std::span<const uint8_t> chunk, SectionKind section);

// The plane's BMP file image at the end of `image`: `head` (made by BmpHead)
// with bfSize, biWidth and biHeight set for it, then 64 rows of its Width
// columns, bottom row first.
void WriteBmpImage(const ElementPlane& plane, BmpHeadBytes& head, MemoryStream& image);

// Reads a texture or sprite chunk, all `data.Size` bytes of it, and writes
// its complete BMP file image to `image`: the 1078 bytes of
// BmpTemplate with bfSize, biWidth and biHeight set for this image, then 64
// rows, bottom row first. Returns the number of distinct palette indices the
// image's pixels use. Writes nothing and returns 0 for the unknown section.
// Damaged chunks give a well-formed image too; see decoder.cpp for the rules.
uint16_t WriteElementImage(const ByteView& data, SectionKind section, MemoryStream& image);

// All `data.Size` bytes of a chunk in one piece, those the file does not
// hold as 0: where they lie when the file holds them all, else read out
// once into `copy`.
std::span<const uint8_t> WholeChunk(const ByteView& data, ByteVector& copy);

// Decodes chunk `index` of `file` into a new bitmap in its Image and its
// colour count in Colors. The caller makes sure that the index is a texture
// or sprite of the table whose Image is empty; any other index is left alone.
void DecodeElement(RWlFile& file, int32_t index);

// Decodes a texture or sprite the first time it is asked for and returns
// whether it did; a decoded element, an unknown one or an index outside the
// table stays as it is. This keeps every element to one decode per load.
bool EnsureDecoded(RWlFile& file, uint32_t index);
