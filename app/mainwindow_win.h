// The main window: its controls, their placement and the binding of their
// events, its initialisation and its end.
#pragma once

#include <string>

#include "ui/viewer_win.h"
#include "winlayer/winlayer_win.h"

// The main window's outer size when it is created.
constexpr int32_t MainWindowWidth = 619;
constexpr int32_t MainWindowHeight = 483;

// Creates the application window: caption "tessarine", the program's icon,
// a system menu without Size, Move and Maximize. Becomes AppWindow. False
// when the system does not make it.
bool CreateAppWindow(ApplicationWindow& application);

// Creates the main window with everything on it, hidden and centred on the
// screen, and initialises it; `mainWindow` receives the new record. False
// when the system does not make one of the windows; what was made goes with
// the application window.
bool BuildMainWindow(RMainWindow*& mainWindow, ApplicationWindow& application);
void InitMainWindow(RMainWindow& mainWindow);
// The main window's destroy handler: frees the background picture and the
// open file.
void DestroyMainWindow(RMainWindow& mainWindow);
