# The viewer's program: its main window, menus and commands, and the state
# the panels share. All of it but the entry point is a library, so that the
# UI tests can build the main window in their own process (app/CMakeLists.txt
# makes the program).
tessarine_layer(app
  WIN commands_win.cpp globals_win.cpp mainwindow_win.cpp
  DEPENDS shell)
