# The command-line tool's own building blocks, in the core so that the unit
# tests, fuzz targets and benchmarks reach them.
list(APPEND TESSARINE_PORTABLE_SOURCES
  cli/export.cpp
  cli/gamefacts.cpp
  cli/files.cpp
  cli/pack.cpp
  cli/packsounds.cpp)
