// The info panel: what the selected node is, as a caption, a title and up
// to five fact lines under a header with the picture of the node's kind.
#pragma once

#include "winlayer/winlayer_win.h"

struct RMainWindow;

// Shows `newItem` of the element tree, which may be null or gone; `oldItem`
// is not used. Sets SelectedKind, resets the preview's zoom, decodes a
// texture or sprite the first time it is shown, and has the panel and the
// preview repainted. Lines the node's kind does not use are blanked.
void ShowNodeInfo(RMainWindow& mainWindow, Window& sender, HTREEITEM oldItem, HTREEITEM newItem);

// The panel's picture under its labels: the background, the red rule and
// the header icon (the program's own before anything is shown).
void PaintInfoPanel(RMainWindow& mainWindow, PaintBox& panel, HDC dc);
