list(APPEND TESSARINE_PORTABLE_SOURCES
  imaging/bmptemplate.cpp
  imaging/decoder.cpp
  imaging/framing.cpp
  imaging/palettefile.cpp
  imaging/picturereader.cpp
  imaging/spriteencoder.cpp)
# Native builds only: they need libdeflate and libspng.
list(APPEND TESSARINE_NATIVE_SOURCES
  imaging/framedpng.cpp
  imaging/pngreader.cpp)
