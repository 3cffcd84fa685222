// The program entry's own global. The state that the viewer's handlers
// share is declared in ui/viewer_win.h and defined, with this one, in
// globals_win.cpp.
#pragma once

#include "ui/viewer_win.h"
#include "winlayer/winlayer_win.h"

extern ApplicationWindow* AppWindow;  // not owned: the program entry's
