// Opening the page file named on the command line, which is how the shell
// starts the program for an associated file.
#pragma once

#include "winlayer/winlayer_win.h"

struct RMainWindow;

// The main window's shown handler: on the first showing only, loads the page
// file named by the first command-line argument, if there is one.
void OpenArgumentFile(RMainWindow& mainWindow, TopWindow& frame);
