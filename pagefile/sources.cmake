list(APPEND TESSARINE_PORTABLE_SOURCES
  pagefile/wlfile.cpp)
