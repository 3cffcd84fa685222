# Shell integration: file association and command line.
list(APPEND TESSARINE_PORTABLE_SOURCES
  shell/association.cpp
  shell/cmdline.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  shell/association_win.cpp
  shell/cmdline_win.cpp)
# Opening the argument is a handler of the main window, so it joins the
# viewer's windows.
list(APPEND TESSARINE_UI_SOURCES
  shell/openargument_win.cpp)
