# Sound files in the game's form and out of any other, through libsndfile
# and libsamplerate.
tessarine_layer(sound
  PORTABLE gamesound.cpp
  DEPENDS pagefile
  LIBRARIES PkgConfig::SndFile PkgConfig::SampleRate)
