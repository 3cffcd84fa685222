list(APPEND TESSARINE_PORTABLE_SOURCES
  nodetext/nodetext.cpp
  ui/preview.cpp)
# The viewer's windows, built into their own library over the core; the
# state they share is declared in ui/viewer_win.h.
list(APPEND TESSARINE_UI_SOURCES
  ui/about_win.cpp
  ui/elementtree_win.cpp
  ui/infopanel_win.cpp
  ui/openfile_win.cpp
  ui/preview_win.cpp)
