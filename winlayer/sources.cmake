# The Win32 object layer: windows, controls, GDI objects and the message loop.
list(APPEND TESSARINE_WIN_SOURCES
  winlayer/appwindow_win.cpp
  winlayer/bitmap_win.cpp
  winlayer/gdi_win.cpp
  winlayer/imagelist_win.cpp
  winlayer/label_win.cpp
  winlayer/menu_win.cpp
  winlayer/messageloop_win.cpp
  winlayer/opendialog_win.cpp
  winlayer/paintbox_win.cpp
  winlayer/panel_win.cpp
  winlayer/splitter_win.cpp
  winlayer/systemdll_win.cpp
  winlayer/topwindow_win.cpp
  winlayer/treeview_win.cpp
  winlayer/window_win.cpp)
