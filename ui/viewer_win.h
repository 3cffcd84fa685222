// The viewer's state, shared by its handlers: the main window's record, the
// open file, the tree's node handles, the picture lists and what the view
// shows. Declared here, beside the handlers that work on it; defined in the
// program's main module (app/globals_win.cpp). Nothing else is global.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pagefile/wlfile.h"
#include "ui/preview.h"
#include "winlayer/winlayer_win.h"

struct RAboutBox;
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

extern RMainWindow* MainWindow;  // owned by the main window

// The main window, which every handler receives: its frame and menu, the
// containers, the tree, the two panes with their splitters, the info
// panel's labels and the dialogs. None is owned here: controls belong to
// their parent windows, the menu to the main window, and the dialog objects,
// like this record, are freed with the main window.
struct RMainWindow {
  RMainWindow() = default;
  RMainWindow(const RMainWindow&) = delete;
  RMainWindow& operator=(const RMainWindow&) = delete;
  ~RMainWindow() {
    if (MainWindow == this) MainWindow = nullptr;
  }

  TopWindow* Frame = nullptr;
  Menu* MenuBar = nullptr;
  OpenDialog* PageFileDialog = nullptr;
  Panel* TopBar = nullptr;
  Panel* ContentPanel = nullptr;
  Panel* ViewArea = nullptr;
  TreeView* ElementTree = nullptr;
  Splitter* TreeSplitter = nullptr;
  PaintBox* InfoPanel = nullptr;
  Splitter* InfoSplitter = nullptr;
  PaintBox* PreviewPane = nullptr;
  Label* CaptionLabel = nullptr;
  Label* TitleLabel = nullptr;
  Label* InfoLine1 = nullptr;
  Label* InfoLine2 = nullptr;
  Label* InfoLine3 = nullptr;
  Label* InfoLine4 = nullptr;
  Label* InfoLine5 = nullptr;
  Label* AuthorLink = nullptr;
  Label* WebLink = nullptr;
  RAboutBox* AboutBox = nullptr;
  std::string VersionText;
  std::string ProductName;
};
