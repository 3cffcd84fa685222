# Shell integration: the file association and the command line (portable),
# their registry and process halves, and the opening of the argument, a
# handler of the main window.
tessarine_layer(shell
  PORTABLE association.cpp cmdline.cpp
  WIN association_win.cpp cmdline_win.cpp openargument_win.cpp
  DEPENDS ui
  WIN_LIBRARIES advapi32)
