list(APPEND TESSARINE_PORTABLE_SOURCES
  imaging/bmptemplate.cpp
  imaging/decoder.cpp
  imaging/framing.cpp
  imaging/palettefile.cpp
  imaging/picturereader.cpp
  imaging/spriteencoder.cpp)
# PNG files: written around libdeflate's data, read through libspng.
list(APPEND TESSARINE_PORTABLE_SOURCES
  imaging/framedpng.cpp
  imaging/pngreader.cpp)
