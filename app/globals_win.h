// The viewer's state, shared by its handlers: the open file, the tree's node
// handles, the picture lists and what the view shows. Nothing else of the
// program is global.
#pragma once

#include <cstdint>
#include <memory>

#include "pagefile/wlfile.h"
#include "ui/preview.h"
#include "winlayer/winlayer_win.h"

struct RMainWindow;

extern RWlFile WlFile;  // the open page file

// The current file's nodes; replaced on every load.
extern HTREEITEM RootItem;
extern HTREEITEM TextureItem;
extern HTREEITEM SpriteItem;
extern HTREEITEM UnknownItem;

// Node pictures by node kind: 16 x 16 on the tree, 32 x 32 for the info
// panel's header. They live for the whole run.
extern ImageList SmallImages;
extern ImageList LargeImages;

extern std::unique_ptr<DeviceBitmap> BackgroundBitmap;  // the info panel's picture
extern int32_t SelectedKind;                            // the node kind the info panel shows, or -1
extern RZoomState ZoomState;                            // the preview's zoom and its drag
extern bool ArgumentPending;                            // the command-line file is still to be opened

extern ApplicationWindow* AppWindow;  // not owned: the program entry's
extern RMainWindow* MainWindow;       // owned by the main window
