// The main window: its controls, their placement and the binding of their
// events, its initialisation and its end.
#pragma once

#include <string>

#include "winlayer/winlayer_win.h"

struct RAboutBox;

// Every control of the main window, in the order the program has always kept
// them. None is owned here: controls belong to their parent windows, the menu
// to the main window, and the dialog objects, like this record, are freed
// with the main window.
struct RMainWindow {
  RMainWindow() = default;
  RMainWindow(const RMainWindow&) = delete;
  RMainWindow& operator=(const RMainWindow&) = delete;
  ~RMainWindow();

  TopWindow* Frame = nullptr;
  Menu* MenuBar = nullptr;
  OpenDialog* PageFileDialog = nullptr;
  Panel* ViewArea = nullptr;
  TreeView* ElementTree = nullptr;
  PaintBox* InfoPanel = nullptr;
  Label* CaptionLabel = nullptr;
  Label* TitleLabel = nullptr;
  Label* InfoLine1 = nullptr;
  Label* InfoLine2 = nullptr;
  Label* AuthorLink = nullptr;
  Label* WebLink = nullptr;
  Splitter* TreeSplitter = nullptr;
  Splitter* InfoSplitter = nullptr;
  Label* InfoLine3 = nullptr;
  Label* InfoLine4 = nullptr;
  Label* InfoLine5 = nullptr;
  Panel* ContentPanel = nullptr;
  Panel* TopBar = nullptr;
  PaintBox* PreviewPane = nullptr;
  RAboutBox* AboutBox = nullptr;
  std::string VersionText;
  std::string ProductName;
};

// The main window's outer size when it is created.
constexpr int32_t MainWindowWidth = 619;
constexpr int32_t MainWindowHeight = 483;

// Creates the application window: caption "tessarine", the program's icon,
// a system menu without Size, Move and Maximize. Becomes AppWindow.
void CreateAppWindow(ApplicationWindow& application);

// Creates the main window with everything on it, hidden and centred on the
// screen, and initialises it; `mainWindow` receives the new record.
void BuildMainWindow(RMainWindow*& mainWindow, ApplicationWindow& application);
void InitMainWindow(RMainWindow& mainWindow);
// The main window's destroy handler: frees the background picture and the
// open file.
void DestroyMainWindow(RMainWindow& mainWindow);

// Replaces the open file with the page file at `path` (UTF-8) and rebuilds
// the tree; the start view's links go for good.
void LoadWlFile(RMainWindow& mainWindow, const std::string& path);
