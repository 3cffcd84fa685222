#include "app/globals_win.h"

#include "nodetext/nodetext.h"
#include "ui/viewer_win.h"

RWlFile WlFile;

HTREEITEM RootItem = nullptr;
HTREEITEM TextureItem = nullptr;
HTREEITEM SpriteItem = nullptr;
HTREEITEM UnknownItem = nullptr;

ImageList SmallImages;
ImageList LargeImages;

std::unique_ptr<DeviceBitmap> BackgroundBitmap;
int32_t SelectedKind = NoNode;
RZoomState ZoomState;
bool ArgumentPending = false;

ApplicationWindow* AppWindow = nullptr;
RMainWindow* MainWindow = nullptr;
