// Texture and sprite decoding: a chunk becomes an 8-bit palettised bitmap
// 64 rows high, by way of a BMP file image built on BmpTemplate.
#pragma once

#include <cstdint>
#include <span>

#include "base/bytevector.h"
#include "imaging/bmptemplate.h"
#include "pagefile/wlfile.h"

class MemoryStream;
struct ByteView;

// Reads a texture or sprite chunk, all `data.Size` bytes of it, and writes
// its complete BMP file image to `image`: the 1078 bytes of
// BmpTemplate with bfSize, biWidth and biHeight set for this image, then 64
// rows, bottom row first. Returns the number of distinct palette indices the
// image's pixels use. Writes nothing and returns 0 for the unknown section.
// Damaged chunks give a well-formed image too; see decoder.cpp for the rules.
uint16_t WriteElementImage(const ByteView& data, SectionKind section, MemoryStream& image);
// The same with `head` (made by BmpHead, its per-image fields set here) in
// place of BmpTemplate, for a palette of the caller's.
uint16_t WriteElementImage(const ByteView& data, SectionKind section, BmpHeadBytes& head,
                           MemoryStream& image);

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
