# The Win32 object layer: windows, controls, GDI objects and the message loop.
tessarine_layer(winlayer
  WIN appwindow_win.cpp bitmap_win.cpp gdi_win.cpp imagelist_win.cpp label_win.cpp menu_win.cpp
      messageloop_win.cpp opendialog_win.cpp paintbox_win.cpp panel_win.cpp splitter_win.cpp systemdll_win.cpp
      topwindow_win.cpp treeview_win.cpp window_win.cpp
  DEPENDS base
  WIN_LIBRARIES user32 gdi32 comctl32 comdlg32 shell32 msimg32)
