# The page file: the loader and chunk table, the game's sections, the layout
# and the assembly of new files, the sound table and its replacement.
tessarine_layer(pagefile
  PORTABLE pagelayout.cpp sections.cpp soundreplace.cpp soundtable.cpp wlfile.cpp
  DEPENDS base)
