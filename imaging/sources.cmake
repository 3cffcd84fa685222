# Pictures: the bitmap template, palettes, the decoder and the framing, the
# sprite encoder, and PNG files, written around libdeflate's data and read
# through libspng.
tessarine_layer(imaging
  PORTABLE bmptemplate.cpp decoder.cpp framedpng.cpp framing.cpp palettefile.cpp picturereader.cpp
           pngreader.cpp spriteencoder.cpp
  DEPENDS pagefile
  LIBRARIES PkgConfig::SPNG PkgConfig::LIBDEFLATE)
