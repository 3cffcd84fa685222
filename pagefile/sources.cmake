list(APPEND TESSARINE_PORTABLE_SOURCES
  pagefile/pagelayout.cpp
  pagefile/sections.cpp
  pagefile/soundtable.cpp
  pagefile/soundreplace.cpp
  pagefile/wlfile.cpp)
