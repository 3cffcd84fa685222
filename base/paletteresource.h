// The game palette that the program carries: a resource on Windows, compiled
// in elsewhere, from the one palette file either way.
#pragma once

#include "base/streams.h"

// Copies the palette resource ("PALETTE", 1024 bytes of blue, green, red, 0)
// into `out`; copies nothing if the resource cannot be found.
void LoadPaletteResource(MemoryStream& out);
