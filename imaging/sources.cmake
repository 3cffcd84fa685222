list(APPEND TESSARINE_PORTABLE_SOURCES
  imaging/bmptemplate.cpp
  imaging/decoder.cpp
  imaging/framing.cpp
  imaging/palettefile.cpp)
list(APPEND TESSARINE_POSIX_SOURCES
  imaging/palette_native.cpp)
list(APPEND TESSARINE_WIN_SOURCES
  imaging/palette_win.cpp)
# Native builds only: they need libpng.
list(APPEND TESSARINE_NATIVE_SOURCES
  imaging/framedpng.cpp
  imaging/pngcodec.cpp)
