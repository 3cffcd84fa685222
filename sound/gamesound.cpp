#include "sound/gamesound.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/bytes.h"
#include "pagefile/soundtable.h"

namespace {

// libsndfile reads from and writes to memory through these callbacks.
struct MemoryFile {
  std::span<const uint8_t> In;
  std::vector<uint8_t>* Out = nullptr;
  sf_count_t Position = 0;

  sf_count_t Length() const { return static_cast<sf_count_t>(Out ? Out->size() : In.size()); }
};

sf_count_t Length(void* user) { return static_cast<MemoryFile*>(user)->Length(); }

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
  auto& f = *static_cast<MemoryFile*>(user);
  const sf_count_t base = whence == SEEK_CUR ? f.Position : whence == SEEK_END ? f.Length() : 0;
  if (offset < -base) return -1;
  f.Position = base + offset;
  return f.Position;
}

sf_count_t Read(void* dst, sf_count_t count, void* user) {
  auto& f = *static_cast<MemoryFile*>(user);
  const sf_count_t available = std::max<sf_count_t>(f.Length() - f.Position, 0);
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, available);
  const uint8_t* bytes = f.Out ? f.Out->data() : f.In.data();
  if (n > 0) std::memcpy(dst, bytes + f.Position, static_cast<size_t>(n));
  f.Position += n;
  return n;
}

sf_count_t Write(const void* src, sf_count_t count, void* user) {
  auto& f = *static_cast<MemoryFile*>(user);
  if (!f.Out || count < 0) return 0;
  const auto end = static_cast<size_t>(f.Position + count);
  if (end > f.Out->size()) f.Out->resize(end);
  std::memcpy(f.Out->data() + f.Position, src, static_cast<size_t>(count));
  f.Position += count;
  return count;
}

sf_count_t Tell(void* user) { return static_cast<MemoryFile*>(user)->Position; }

SF_VIRTUAL_IO kMemoryIo = {Length, Seek, Read, Write, Tell};

struct SndfileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

std::string TooLong(double samples, size_t maxSamples) {
  // Doubles, since a damaged header can claim more samples than 64 bits hold.
  char text[160];
  std::snprintf(text, sizeof text,
                "the sound is %.0f samples long at 7042 Hz, %.0f more than the %zu a sound can hold", samples,
                samples - static_cast<double>(maxSamples), maxSamples);
  return text;
}

// Full scale is 1; a sample past it clips to the first or the last level.
uint8_t Quantize(float sample) {
  const long level = std::lround(std::clamp(double{sample}, -1.0, 1.0) * 128.0) + 128;
  return static_cast<uint8_t>(std::min<long>(level, 255));
}

// libsndfile decodes MPEG files through libmpg123, which prints what it
// finds wrong in a damaged file to stderr, a line for every bad frame. The
// user hears of a bad file through this program's own message instead:
// while libsndfile reads, the C library's stderr leads nowhere. glibc lets a
// program point its stderr elsewhere; writes to the descriptor itself, as
// the sanitizers' reports are, still go out. The Windows builds' libsndfile
// has no MPEG decoder, and their C library no such stderr: nothing changes.
class QuietLibraries {
 public:
  QuietLibraries() {
#ifdef __GLIBC__
    std::fflush(stderr);
    if (std::FILE* sink = std::fopen("/dev/null", "w")) {
      saved_ = stderr;
      stderr = sink;
    }
#endif
  }
  ~QuietLibraries() {
#ifdef __GLIBC__
    if (!saved_) return;
    std::fclose(stderr);
    stderr = saved_;
#endif
  }
  QuietLibraries(const QuietLibraries&) = delete;
  QuietLibraries& operator=(const QuietLibraries&) = delete;

 private:
  std::FILE* saved_ = nullptr;
};

// libsndfile reads a chunk of samples that the file cuts short as far as it
// goes and counts the frames from what is there, with no word of it but in
// its log. So the chunks of a WAV (RIFF or RIFX) or AIFF file are walked
// here, up to the chunk of samples, whose length must fit in the file.
// (RF64 and CAF give their lengths in 64 bits, elsewhere.)
bool Whole(std::span<const uint8_t> file, const SF_INFO& info, std::string& error) {
  const int type = info.format & SF_FORMAT_TYPEMASK;
  const bool wav = type == SF_FORMAT_WAV || type == SF_FORMAT_WAVEX;
  if ((!wav && type != SF_FORMAT_AIFF) || file.size() < 12) return true;
  const bool little = wav && std::memcmp(file.data(), "RIFF", 4) == 0;
  const char* samples = wav ? "data" : "SSND";
  // "RIFF" (or "FORM"), the length of the rest, "WAVE" (or "AIFF"); then
  // chunks of an ID and a length before their bytes, padded to even.
  uint64_t at = 12;
  while (at + 8 <= file.size()) {
    const uint8_t* head = file.data() + at;
    const uint32_t length =
        little ? ReadLe32(head + 4)
               : uint32_t{head[4]} << 24 | uint32_t{head[5]} << 16 | uint32_t{head[6]} << 8 | head[7];
    if (std::memcmp(head, samples, 4) == 0) {
      const uint64_t promised = at + 8 + length;
      if (promised <= file.size()) return true;
      error = "the file is cut short: its header promises " + std::to_string(promised) + " bytes, it has " +
              std::to_string(file.size());
      return false;
    }
    at += 8 + uint64_t{length} + (length & 1);
  }
  return true;
}

std::string FewerFrames(sf_count_t promised, size_t found) {
  return "the file is cut short: its header promises " + std::to_string(promised) + " frames, it holds " +
         std::to_string(found);
}

}  // namespace

bool EncodeGameWav(std::span<const uint8_t> samples, std::vector<uint8_t>& wav, std::string& error) {
  wav.clear();
  wav.reserve(samples.size() + 64);
  MemoryFile out{{}, &wav, 0};
  SF_INFO info{};
  info.samplerate = SoundRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
  SndfilePtr file(sf_open_virtual(&kMemoryIo, SFM_WRITE, &info, &out));
  if (!file) {
    error = sf_strerror(nullptr);
    return false;
  }
  const auto count = static_cast<sf_count_t>(samples.size());
  if (sf_write_raw(file.get(), samples.data(), count) != count) {
    error = sf_strerror(file.get());
    return false;
  }
  // Closing writes the header's final lengths.
  if (sf_close(file.release()) != 0) {
    error = "libsndfile could not finish the WAV file";
    return false;
  }
  return true;
}

namespace {

constexpr size_t kBlock = 4096;

// An open sound file and what its header says, checked.
struct Source {
  SndfilePtr File;
  SF_INFO Info{};
  double Ratio = 1;  // 7042 Hz over the file's rate
  // Frames past which the sound is too long however it is converted: a
  // header may understate the length, and decoding stops one block past the
  // most that can be used, so memory stays in proportion to what is asked.
  size_t MaxFrames = 0;
  // A stated length that the frames fall short of is a file cut short.
  // libmpg123 only guesses the length of an MPEG file without a tag that
  // gives it, so there the frames are all there is to go by.
  bool LengthStated = false;
};

bool Open(std::span<const uint8_t> bytes, MemoryFile& in, size_t maxSamples, Source& source,
          std::string& error) {
  SF_INFO& info = source.Info;
  source.File.reset(sf_open_virtual(&kMemoryIo, SFM_READ, &info, &in));
  if (!source.File) {
    error = sf_strerror(nullptr);
    return false;
  }
  if (!Whole(bytes, info, error)) return false;
  if (info.channels < 1 || info.samplerate < 1) {
    error = "the file declares " + std::to_string(info.channels) + " channels at " +
            std::to_string(info.samplerate) + " Hz";
    return false;
  }
  source.Ratio = double{SoundRate} / info.samplerate;
  if (source.Ratio < 1.0 / 256 || source.Ratio > 256) {
    // libsamplerate converts by at most a factor of 256 either way.
    error = "its rate of " + std::to_string(info.samplerate) + " Hz is more than 256 times off 7042 Hz";
    return false;
  }
  // Formats that do not know their length say SF_COUNT_MAX.
  const bool known = info.frames >= 0 && info.frames != SF_COUNT_MAX;
  if (known && std::ceil(static_cast<double>(info.frames) * source.Ratio) > static_cast<double>(maxSamples)) {
    error = TooLong(std::ceil(static_cast<double>(info.frames) * source.Ratio), maxSamples);
    return false;
  }
  source.MaxFrames =
      static_cast<size_t>(std::min(std::ceil(static_cast<double>(maxSamples) / source.Ratio), 0x1p52)) + 1;
  source.LengthStated = known && (info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_MPEG;
  return true;
}

// Whether the `found` frames read are all that the header states.
bool AllFrames(const Source& source, size_t found, std::string& error) {
  if (!source.LengthStated || found >= static_cast<size_t>(source.Info.frames)) return true;
  error = FewerFrames(source.Info.frames, found);
  return false;
}

std::string LongerThan(size_t maxSamples) {
  return "the sound is longer than the " + std::to_string(maxSamples) + " samples a sound can hold";
}

// A file already in the game's form: its bytes as they are, so that an
// exported sound packs back unchanged.
bool ReadGameForm(Source& source, size_t maxSamples, std::vector<uint8_t>& samples, std::string& error) {
  for (;;) {
    const size_t at = samples.size();
    samples.resize(at + kBlock);
    const sf_count_t got = sf_read_raw(source.File.get(), samples.data() + at, kBlock);
    samples.resize(at + static_cast<size_t>(std::max<sf_count_t>(got, 0)));
    if (got <= 0) break;
    if (samples.size() > maxSamples) {
      error = LongerThan(maxSamples);
      return false;
    }
  }
  return AllFrames(source, samples.size(), error);
}

// The channels mixed down by their mean, clipped to full scale.
bool MixDown(Source& source, size_t maxSamples, std::vector<float>& mono, std::string& error) {
  // Blocks of the same number of samples whatever the channel count, so
  // that a header claiming a thousand channels costs no more memory.
  const auto channels = static_cast<size_t>(source.Info.channels);
  const size_t blockFrames = std::max<size_t>(kBlock * 4 / channels, 1);
  std::vector<float> block(blockFrames * channels);
  for (;;) {
    const sf_count_t got =
        sf_readf_float(source.File.get(), block.data(), static_cast<sf_count_t>(blockFrames));
    if (got <= 0) break;
    for (sf_count_t i = 0; i < got; ++i) {
      const float* frame = &block[static_cast<size_t>(i) * channels];
      // In double: a thousand channels of the largest floats overflow a
      // float's sum.
      double sum = 0;
      for (size_t c = 0; c < channels; ++c) {
        if (!std::isfinite(frame[c])) {
          error = "frame " + std::to_string(mono.size()) + " holds " +
                  (std::isnan(frame[c]) ? "a sample that is not a number" : "an infinite sample") +
                  ": the file is damaged";
          return false;
        }
        sum += frame[c];
      }
      // Clipped before the resampler, whose filter would spread a sample
      // far past full scale over its neighbours.
      mono.push_back(static_cast<float>(std::clamp(sum / static_cast<double>(channels), -1.0, 1.0)));
    }
    if (mono.size() > source.MaxFrames) {
      error = LongerThan(maxSamples);
      return false;
    }
  }
  return AllFrames(source, mono.size(), error);
}

// `mono` at 7042 Hz, by `ratio`, into `resampled`.
bool Resample(std::vector<float>& mono, double ratio, std::vector<float>& resampled, std::string& error) {
  // The converter holds back the last few samples of what it is given:
  // silence after the end lets the sound's own tail out, and the result is
  // cut to the sound's length at the new rate.
  const auto length = static_cast<size_t>(std::lround(static_cast<double>(mono.size()) * ratio));
  mono.resize(mono.size() + static_cast<size_t>(std::ceil(256 / ratio)), 0.0f);
  resampled.resize(static_cast<size_t>(std::ceil(static_cast<double>(mono.size()) * ratio)) + 16);
  SRC_DATA data{};
  data.data_in = mono.data();
  data.input_frames = static_cast<long>(mono.size());
  data.data_out = resampled.data();
  data.output_frames = static_cast<long>(resampled.size());
  data.end_of_input = 1;
  data.src_ratio = ratio;
  // The fastest of libsamplerate's band-limited converters still keeps far
  // more than the 8 bits the game plays: it is over twice as quick as the
  // next, with nothing to hear for the difference.
  if (const int failed = src_simple(&data, SRC_SINC_FASTEST, 1)) {
    error = src_strerror(failed);
    return false;
  }
  resampled.resize(std::min(length, static_cast<size_t>(data.output_frames_gen)));
  return true;
}

}  // namespace

bool DecodeGameSound(std::span<const uint8_t> bytes, size_t maxSamples, std::vector<uint8_t>& samples,
                     std::string& error) {
  samples.clear();
  const QuietLibraries quiet;
  MemoryFile in{bytes, nullptr, 0};
  Source source;
  if (!Open(bytes, in, maxSamples, source, error)) return false;
  const SF_INFO& info = source.Info;
  if ((info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8 && info.channels == 1 &&
      info.samplerate == static_cast<int>(SoundRate))
    return ReadGameForm(source, maxSamples, samples, error);

  std::vector<float> mono;
  if (!MixDown(source, maxSamples, mono, error)) return false;
  std::vector<float> resampled;
  const std::vector<float>* out = &mono;
  if (info.samplerate != static_cast<int>(SoundRate) && !mono.empty()) {
    if (!Resample(mono, source.Ratio, resampled, error)) return false;
    out = &resampled;
  }
  if (out->size() > maxSamples) {
    error = TooLong(static_cast<double>(out->size()), maxSamples);
    return false;
  }
  samples.resize(out->size());
  std::transform(out->begin(), out->end(), samples.begin(), Quantize);
  return true;
}
