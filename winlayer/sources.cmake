list(APPEND TESSARINE_PORTABLE_SOURCES
  winlayer/bitmap.cpp
  winlayer/codepage.cpp
  winlayer/streams.cpp)
list(APPEND TESSARINE_POSIX_SOURCES
  winlayer/filestream_posix.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  winlayer/filestream_win.cpp
  winlayer/unicode_win.cpp)
