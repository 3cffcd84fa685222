// Program entry: the application window, the main window, the message loop.
#include "app/globals_win.h"
#include "app/mainwindow_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ApplicationWindow application;
  // Without its windows the program has nothing to show: it ends at once,
  // with a code that says so.
  if (!CreateAppWindow(application) || !BuildMainWindow(MainWindow, application)) {
    application.Destroy();
    AppWindow = nullptr;
    return 1;
  }
  MessageLoop loop(application, *application.MainWindow());
  const int exitCode = loop.Run();
  // The application window takes the main window with it.
  application.Destroy();
  AppWindow = nullptr;
  return exitCode;
}
