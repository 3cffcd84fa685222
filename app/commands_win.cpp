#include "app/commands_win.h"

#include "app/globals_win.h"
#include "ui/about_win.h"
#include "ui/openfile_win.h"

void OpenCommand(RMainWindow& mainWindow, Menu&, int32_t) {
  if (mainWindow.PageFileDialog->Execute()) LoadWlFile(mainWindow, mainWindow.PageFileDialog->FileName);
}

void ExitCommand(RMainWindow& mainWindow, Menu&, int32_t) {
  PostMessageW(mainWindow.Frame->Handle(), WM_CLOSE, 0, 0);
}

void AboutCommand(RMainWindow& mainWindow, Menu&, int32_t) { ShowAboutBox(*mainWindow.AboutBox, AppWindow); }
