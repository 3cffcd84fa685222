# The portable base under everything: streams, byte helpers, bitmap parsing,
# code pages and layout. The platform halves are the file stream, the file
# writes and process checks, the command line's arguments, text conversion
# and the palette resource.
tessarine_layer(base
  PORTABLE bitmap.cpp codepage.cpp layout.cpp streams.cpp
  POSIX arguments_posix.cpp fileops_posix.cpp filestream_posix.cpp paletteresource_native.cpp
  WIN arguments_win.cpp fileops_win.cpp filestream_win.cpp paletteresource_win.cpp unicode_win.cpp
  WIN_LIBRARIES shell32)
