list(APPEND TESSARINE_PORTABLE_SOURCES
  pagefile/pagelayout.cpp
  pagefile/wlfile.cpp)
