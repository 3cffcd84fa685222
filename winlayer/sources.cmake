list(APPEND TESSARINE_PORTABLE_SOURCES
  winlayer/bitmap.cpp
  winlayer/codepage.cpp
  winlayer/layout.cpp
  winlayer/streams.cpp)
list(APPEND TESSARINE_POSIX_SOURCES
  winlayer/filestream_posix.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  winlayer/appwindow_win.cpp
  winlayer/bitmap_win.cpp
  winlayer/filestream_win.cpp
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
  winlayer/unicode_win.cpp
  winlayer/window_win.cpp)
