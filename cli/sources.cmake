# The command-line tool's building blocks, a library so that the unit tests,
# fuzz targets and benchmarks reach them; the program is cli/CMakeLists.txt.
tessarine_layer(cli
  PORTABLE export.cpp files.cpp gamefacts.cpp pack.cpp packsounds.cpp
  DEPENDS nodetext imaging sound)
