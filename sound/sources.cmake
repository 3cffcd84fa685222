# Sound files through libsndfile and libsamplerate, which every build links.
list(APPEND TESSARINE_PORTABLE_SOURCES
  sound/gamesound.cpp)
