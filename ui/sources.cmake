# The viewer's panels: the element tree, the info panel, the preview pane
# (its zoom is portable), the About box; the state they share is declared in
# ui/viewer_win.h.
tessarine_layer(ui
  PORTABLE preview.cpp
  WIN about_win.cpp elementtree_win.cpp infopanel_win.cpp openfile_win.cpp preview_win.cpp
  DEPENDS winlayer nodetext imaging)
