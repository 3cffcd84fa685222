// The menu's commands. Each receives the main window, the menu and the item
// number, as every menu event does.
#pragma once

#include <cstdint>

#include "ui/viewer_win.h"
#include "winlayer/winlayer_win.h"

// Asks for a page file and opens it; a cancel changes nothing.
void OpenCommand(RMainWindow& mainWindow, Menu& menu, int32_t item);
// Closes the main window, which ends the program.
void ExitCommand(RMainWindow& mainWindow, Menu& menu, int32_t item);
// Shows the About box.
void AboutCommand(RMainWindow& mainWindow, Menu& menu, int32_t item);
