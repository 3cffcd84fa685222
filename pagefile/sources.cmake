list(APPEND TESSARINE_PORTABLE_SOURCES
  pagefile/pagelayout.cpp
  pagefile/sections.cpp
  pagefile/sounds.cpp
  pagefile/soundsection.cpp
  pagefile/wlfile.cpp)
