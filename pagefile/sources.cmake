list(APPEND TESSARINE_PORTABLE_SOURCES
  pagefile/sounds.cpp
  pagefile/soundsection.cpp
  pagefile/wlfile.cpp)
