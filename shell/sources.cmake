# Shell integration: file association and command line.
list(APPEND TESSARINE_PORTABLE_SOURCES
  shell/association.cpp
  shell/cmdline.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  shell/association_win.cpp
  shell/cmdline_win.cpp)
# Opening the argument works on the program's state (app/globals_win.h), so
# it goes into the program's library.
list(APPEND TESSARINE_APP_SOURCES
  shell/openargument_win.cpp)
