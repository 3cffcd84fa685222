// Builds without a resource section carry the palette file compiled in.
#include "imaging/bmptemplate.h"
#include "imaging/palette_data.h"
#include "base/streams.h"

void LoadPaletteResource(MemoryStream& out) { out.Write(PaletteFileBytes, sizeof PaletteFileBytes); }
