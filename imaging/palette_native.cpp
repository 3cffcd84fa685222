// Builds without a resource section carry the palette file compiled in.
#include "base/streams.h"
#include "imaging/bmptemplate.h"
#include "imaging/palette_data.h"

void LoadPaletteResource(MemoryStream& out) { out.Write(PaletteFileBytes, sizeof PaletteFileBytes); }
