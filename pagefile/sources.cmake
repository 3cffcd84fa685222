list(APPEND TESSARINE_PORTABLE_SOURCES
  pagefile/sounds.cpp
  pagefile/wlfile.cpp)
