# The portable base under the page-file reader, the decoder and the window
# layer: streams, byte helpers, bitmap parsing, code pages and layout. The
# _win halves are the file stream, the file writes and process checks, text
# conversion and the palette resource at the Windows boundary. The command line's arguments (arguments_*.cpp) are
# the command-line tool's alone, so cli/ builds them into it.
list(APPEND TESSARINE_PORTABLE_SOURCES
  base/bitmap.cpp
  base/codepage.cpp
  base/layout.cpp
  base/streams.cpp)
list(APPEND TESSARINE_POSIX_SOURCES
  base/fileops_posix.cpp
  base/filestream_posix.cpp
  base/paletteresource_native.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  base/fileops_win.cpp
  base/filestream_win.cpp
  base/paletteresource_win.cpp
  base/unicode_win.cpp)
