#include "sound/gamesound.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>

#include "base/bytes.h"
#include "tempdir.h"

namespace {

// `frames` interleaved samples written by libsndfile in `format`, as bytes.
std::vector<uint8_t> Encoded(int format, int channels, int rate, const std::vector<float>& frames) {
  SCOPED_TRACE("Encoded");
  TempDir dir;
  const std::string path = dir.File("sound");
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
  if (!file) return {};
  // Out-of-range floats stay as they are in float files and clip in the others.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  EXPECT_EQ(sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size()) / channels),
            static_cast<sf_count_t>(frames.size()) / channels);
  sf_close(file);
  return ReadBytes(path);
}

std::vector<uint8_t> Decoded(const std::vector<uint8_t>& file, size_t maxSamples = 65535) {
  std::vector<uint8_t> samples;
  std::string error;
  EXPECT_TRUE(DecodeGameSound(file, maxSamples, samples, error)) << error;
  return samples;
}

std::string Refusal(const std::vector<uint8_t>& file, size_t maxSamples) {
  std::vector<uint8_t> samples;
  std::string error;
  EXPECT_FALSE(DecodeGameSound(file, maxSamples, samples, error));
  return error;
}

// Power of `frequency` in 8-bit samples at 7042 Hz (Goertzel).
double Power(const std::vector<uint8_t>& samples, double frequency) {
  const double w = 2 * std::numbers::pi * frequency / 7042;
  double s1 = 0, s2 = 0;
  for (uint8_t sample : samples) {
    const double s = (sample - 128) + 2 * std::cos(w) * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  return s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
}

TEST(GameWav, HoldsExactlyTheSamplesAndReadsBackAsThey) {
  for (size_t length : {size_t{0}, size_t{1}, size_t{4097}}) {
    SCOPED_TRACE(length);
    std::vector<uint8_t> samples(length);
    for (size_t k = 0; k < length; ++k) samples[k] = static_cast<uint8_t>(k * 13);
    std::vector<uint8_t> wav;
    std::string error;
    ASSERT_TRUE(EncodeGameWav(samples, wav, error)) << error;
    // RIFF, fmt: PCM, 1 channel, 7042 Hz, 7042 bytes/s, 1 byte/frame, 8 bits; data; a pad byte to even
    // length.
    const uint8_t head[] = {'R',  'I',  'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V',  'E',  'f', 'm',
                            't',  ' ',  16,  0,   0, 0, 1, 0, 1,   0,   0x82, 0x1B, 0,   0,
                            0x82, 0x1B, 0,   0,   1, 0, 8, 0, 'd', 'a', 't',  'a'};
    ASSERT_EQ(wav.size(), 44 + length + length % 2);
    EXPECT_TRUE(std::equal(head + 8, std::end(head), wav.begin() + 8));
    EXPECT_EQ(wav[4] | wav[5] << 8 | wav[6] << 16, static_cast<int>(wav.size() - 8));
    EXPECT_EQ(wav[40] | wav[41] << 8 | wav[42] << 16, static_cast<int>(length));
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), wav.begin() + 44));
    EXPECT_EQ(Decoded(wav), samples);
  }
}

TEST(GameSound, SineAt44100StereoKeepsItsPitchAndLevel) {
  std::vector<float> frames;
  for (int i = 0; i < 44100; ++i) {
    const auto v = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 440 * i / 44100));
    frames.insert(frames.end(), {v, v});
  }
  const std::vector<uint8_t> samples = Decoded(Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, frames));
  EXPECT_EQ(samples.size(), 7042u);
  double best = 0;
  for (double f = 100; f < 3500; f += 20) {
    if (std::abs(f - 440) > 20) best = std::max(best, Power(samples, f));
  }
  EXPECT_GT(Power(samples, 440), 1000 * best);
  // Away from the ends, where the resampler's filter starts and stops.
  double sum = 0;
  for (size_t k = 500; k < 6500; ++k) sum += (samples[k] - 128.0) * (samples[k] - 128.0);
  EXPECT_NEAR(std::sqrt(sum / 6000) / 128, 0.5 / std::sqrt(2), 0.01);
}

TEST(GameSound, MixesDownRoundsAndClips) {
  // At 7042 Hz nothing is resampled: each frame is one sample.
  const std::vector<float> frames = {0.5f, 0.25f, 1.4f / 128, 1.4f / 128, 1.6f / 128, 1.6f / 128,
                                     1.5f, 1.5f,  -1.5f,      -1.5f,      -1.f,       0.f};
  for (const int format : {SF_FORMAT_WAV | SF_FORMAT_FLOAT, SF_FORMAT_FLAC | SF_FORMAT_PCM_16})
    EXPECT_EQ(Decoded(Encoded(format, 2, 7042, frames)), (std::vector<uint8_t>{176, 129, 130, 255, 0, 64}))
        << std::hex << format;
}

TEST(GameSound, RefusesWhatIsTooLongOrUnreadable) {
  const std::vector<float> second(7042, 0.25f);
  EXPECT_EQ(Refusal(Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 7042, second), 7000),
            "the sound is 7042 samples long at 7042 Hz, 42 more than the 7000 a sound can hold");
  EXPECT_EQ(Refusal(Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 14084, std::vector<float>(14084)), 7000),
            "the sound is 7042 samples long at 7042 Hz, 42 more than the 7000 a sound can hold");
  EXPECT_EQ(Decoded(Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 7042, second), 7042).size(), 7042u);
  EXPECT_EQ(Refusal(Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 2000000, {0.5f}), 100),
            "its rate of 2000000 Hz is more than 256 times off 7042 Hz");
  EXPECT_NE(Refusal({'R', 'I', 'F', 'F', 1, 2, 3}, 100), "");
  // A FLAC file may leave its length unsaid (0 in its STREAMINFO): the
  // samples it holds past what a sound can take are refused as they come.
  std::vector<uint8_t> flac = Encoded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 7042, second);
  ASSERT_TRUE(flac.size() > 26 && std::equal(flac.begin(), flac.begin() + 4, "fLaC"));
  flac[21] &= 0xF0;
  std::fill(flac.begin() + 22, flac.begin() + 26, uint8_t{0});
  EXPECT_EQ(Refusal(flac, 7000), "the sound is longer than the 7000 samples a sound can hold");
}

std::vector<uint8_t> Cut(std::vector<uint8_t> file, size_t size) {
  file.resize(size);
  return file;
}

TEST(GameSound, AFileCutShortIsRefusedNotHalfUsed) {
  // A WAV header promising 5996 bytes of samples: none of them, half of
  // them, or 4 GB of them over the 5996.
  std::vector<uint8_t> wav;
  std::string error;
  ASSERT_TRUE(EncodeGameWav(std::vector<uint8_t>(5996, 100), wav, error)) << error;
  EXPECT_EQ(Refusal(Cut(wav, 44), 65535), "the file is cut short: its header promises 6040 bytes, it has 44");
  EXPECT_EQ(Refusal(Cut(wav, 44 + 2998), 65535),
            "the file is cut short: its header promises 6040 bytes, it has 3042");
  std::vector<uint8_t> claim = wav;
  WriteLe32(&claim[40], 0xFFFFFFF0u);
  EXPECT_EQ(Refusal(claim, 65535),
            "the file is cut short: its header promises 4294967324 bytes, it has 6040");
  // Resampled, in another container, or with the length in frames (its
  // first block of 4096 whole).
  const std::vector<float> second(8000, 0.25f);
  for (const int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_AIFF | SF_FORMAT_PCM_16}) {
    const std::vector<uint8_t> whole = Encoded(format, 1, 8000, second);
    EXPECT_TRUE(Refusal(Cut(whole, whole.size() / 2), 65535).starts_with("the file is cut short: its header"))
        << std::hex << format;
  }
  std::vector<float> tone(8000);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<float>(0.5 * std::sin(0.1 * static_cast<double>(i)));
  const std::vector<uint8_t> flac = Encoded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, tone);
  EXPECT_EQ(Refusal(Cut(flac, flac.size() * 3 / 4), 65535),
            "the file is cut short: its header promises 8000 frames, it holds 4096");
}

// Whether the libsndfile linked has its MPEG codec: the native build's has,
// the Windows builds' has not (Debian's sources of libmpg123 at the native
// build's version cannot be had to build it).
bool ReadsMp3() {
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
  for (int i = 0; i < count; ++i) {
    SF_FORMAT_INFO info{};
    info.format = i;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info);
    if (info.format == SF_FORMAT_MPEG) return true;
  }
  return false;
}

TEST(GameSound, OnlyTheWindowsBuildsLackMp3) {
#ifdef _WIN32
  EXPECT_FALSE(ReadsMp3());
#else
  EXPECT_TRUE(ReadsMp3());
#endif
}

TEST(GameSound, WholeFilesOfEveryKindAreTakenWhole) {
  const std::vector<float> second(8000, 0.25f);
  for (const int format :
       {SF_FORMAT_WAV | SF_FORMAT_FLOAT, SF_FORMAT_WAVEX | SF_FORMAT_PCM_24,
        SF_FORMAT_AIFF | SF_FORMAT_PCM_16, SF_FORMAT_CAF | SF_FORMAT_PCM_16, SF_FORMAT_W64 | SF_FORMAT_PCM_16,
        SF_FORMAT_RF64 | SF_FORMAT_PCM_16, SF_FORMAT_AU | SF_FORMAT_ULAW, SF_FORMAT_FLAC | SF_FORMAT_PCM_16,
        SF_FORMAT_OGG | SF_FORMAT_VORBIS, SF_FORMAT_OGG | SF_FORMAT_OPUS,
        SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}) {
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG && !ReadsMp3()) continue;
    EXPECT_EQ(Decoded(Encoded(format, 1, 8000, second)).size(), 7042u) << std::hex << format;
  }
}

TEST(GameSound, SamplesThatAreNoNumbersAreRefusedAndLoudOnesClipWhereTheyAre) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(Refusal(Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 7042, {0.f, nan, 0.f}), 65535),
            "frame 1 holds a sample that is not a number: the file is damaged");
  EXPECT_EQ(Refusal(Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, {0.f, 0.f, 0.f, -inf}), 65535),
            "frame 1 holds an infinite sample: the file is damaged");
  // Past full scale, even where two channels' sum passes the largest float.
  EXPECT_EQ(Decoded(Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 7042,
                            {1e30f, 1e30f, -1e30f, -1e30f, 3e38f, 3e38f})),
            (std::vector<uint8_t>{255, 0, 255}));
  // Resampled, a loud click stays where it is and is not spread over the
  // sound.
  std::vector<float> click(44100, 0.f);
  click[22050] = 1e30f;
  const std::vector<uint8_t> samples = Decoded(Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100, click));
  ASSERT_EQ(samples.size(), 7042u);
  for (size_t k = 0; k < samples.size(); ++k) {
    if (k < 3521 - 50 || k > 3521 + 50) {
      ASSERT_EQ(samples[k], 128) << k;
    }
  }
}

TEST(GameSound, LibraryWarningsDoNotReachTheTerminal) {
  if (!ReadsMp3()) GTEST_SKIP() << "this build's libsndfile reads no MP3";
  // libmpg123 warns about an MP3 file cut short, a line for every frame it
  // misses.
  const std::vector<uint8_t> mp3 =
      Encoded(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 8000, std::vector<float>(8000, 0.25f));
  testing::internal::CaptureStderr();
  std::vector<uint8_t> samples;
  std::string error;
  DecodeGameSound(Cut(mp3, mp3.size() / 2), 65535, samples, error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
