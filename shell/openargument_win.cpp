#include "shell/openargument_win.h"

#include "shell/cmdline.h"
#include "ui/openfile_win.h"
#include "ui/viewer_win.h"

void OpenArgumentFile(RMainWindow& mainWindow, TopWindow&) {
  // Restoring after a minimise shows the window again; only the first
  // showing opens the argument.
  if (!ArgumentPending) return;
  const std::string path = CommandLineArg(1);
  if (!path.empty()) LoadWlFile(mainWindow, path);
  ArgumentPending = false;
}
