# Shell integration: file association and command line.
list(APPEND TESSARINE_PORTABLE_SOURCES
  shell/cmdline.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  shell/cmdline_win.cpp)
