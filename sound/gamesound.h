// Sound files through libsndfile and libsamplerate: the game's samples as
// WAV files, and any file libsndfile reads (WAV, FLAC, Ogg Vorbis, ...)
// turned into the game's form, 8-bit unsigned mono at 7042 Hz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A RIFF WAVE file, 8-bit unsigned mono at 7042 Hz, holding exactly
// `samples`. Returns false, with libsndfile's reason in `error`, if it fails.
bool EncodeGameWav(std::span<const uint8_t> samples, std::vector<uint8_t>& wav, std::string& error);

// The sound in `file` as the game's samples: channels mixed down by their
// mean, resampled to 7042 Hz through a band-limited resampler, scaled to 8
// bits with rounding and clipping. A file already 8-bit unsigned mono at
// 7042 Hz gives its samples as they are. A sound that would come out longer
// than `maxSamples` is refused before it is decoded whole, with its length
// in the message; so is anything libsndfile cannot read.
bool DecodeGameSound(std::span<const uint8_t> file, size_t maxSamples, std::vector<uint8_t>& samples,
                     std::string& error);
