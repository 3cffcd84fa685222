// Builds without a resource section carry the palette file compiled in.
#include "base/palette_data.h"
#include "base/paletteresource.h"

void LoadPaletteResource(MemoryStream& out) { out.Write(PaletteFileBytes, sizeof PaletteFileBytes); }
