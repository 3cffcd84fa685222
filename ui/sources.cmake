list(APPEND TESSARINE_PORTABLE_SOURCES
  ui/nodetext.cpp)
list(APPEND TESSARINE_PORTABLE_SOURCES
  ui/preview.cpp)
# The viewer's own windows work on the program's state (app/globals_win.h),
# so they go into the program's library (app/), not into the core.
list(APPEND TESSARINE_APP_SOURCES
  ui/about_win.cpp
  ui/elementtree_win.cpp
  ui/infopanel_win.cpp
  ui/preview_win.cpp)
