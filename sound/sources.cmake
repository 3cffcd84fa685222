# Native builds only: they need libsndfile and libsamplerate.
list(APPEND TESSARINE_NATIVE_SOURCES
  sound/audio.cpp)
