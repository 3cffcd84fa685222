#include "cli/pack.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

#include "base/decimal.h"
#include "cli/files.h"
#include "cli/packsounds.h"
#include "imaging/decoder.h"
#include "imaging/framing.h"
#include "imaging/picturereader.h"
#include "imaging/spriteencoder.h"
#include "pagefile/pagelayout.h"
#include "pagefile/sections.h"
#include "pagefile/soundtable.h"
#include "pagefile/wlfile.h"

namespace fs = std::filesystem;

namespace {

// A picture file of a few kilobytes, with room for whatever an image editor
// stores beside the pixels; anything larger is not a 64 x 64 picture.
constexpr uintmax_t kMaxPictureFile = 16 << 20;

// What a picture of DIR does to its chunk: nothing, when it holds what the
// base's chunk draws, or new bytes.
struct Replacement {
  uint32_t Chunk = 0;
  bool Unchanged = false;
  std::vector<uint8_t> Bytes;
  std::string Line;  // what the user is told about it
};

enum class PictureFormat { Png, Bmp };

// A file of the folder that names an element.
struct PictureFile {
  std::string Name;
  fs::path Path;
  SectionKind Section = SectionKind::Texture;
  uint32_t Number = 0;  // from 1 in its section
  PictureFormat Format = PictureFormat::Png;
};

const char* SectionWord(SectionKind section) {
  return section == SectionKind::Texture ? "texture" : "sprite";
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  // OUT does not exist yet, or cannot be looked at: compare the spellings
  // with every link, `.` and `..` resolved that can be.
  const fs::path left = fs::weakly_canonical(a, error);
  if (error) return false;
  const fs::path right = fs::weakly_canonical(b, error);
  return !error && left == right;
}

// "texture-NNN.png|.bmp" or "sprite-NNN.png|.bmp", NNN from 1 (written with
// three digits by `export`); any other name is not a picture of ours.
std::optional<PictureFile> ParseName(const fs::path& path) {
  const std::string name = PathText(path.filename());
  PictureFile file{name, path};
  std::string rest;
  for (SectionKind section : {SectionKind::Texture, SectionKind::Sprite}) {
    const std::string prefix = std::string(SectionWord(section)) + "-";
    if (name.starts_with(prefix)) {
      file.Section = section;
      rest = name.substr(prefix.size());
    }
  }
  if (rest.size() < 5) return std::nullopt;
  const std::string digits = rest.substr(0, rest.size() - 4);
  const std::string extension = rest.substr(rest.size() - 4);
  if (extension == ".png")
    file.Format = PictureFormat::Png;
  else if (extension == ".bmp")
    file.Format = PictureFormat::Bmp;
  else
    return std::nullopt;
  const std::optional<uint64_t> number = ParseDecimal(digits, 5);
  if (!number) return std::nullopt;
  file.Number = static_cast<uint32_t>(*number);
  return file;
}

// The picture files of `dir` by chunk index, after checking that each names
// an element of the base's sections, once.
std::map<uint32_t, PictureFile> FindPictures(const fs::path& dir, const GameSections& sections,
                                             std::vector<std::string>& errors) {
  std::map<uint32_t, PictureFile> found;
  std::error_code error;
  std::vector<fs::path> paths;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
    paths.push_back(it->path());
  if (error) {
    errors.push_back("cannot read the folder '" + PathText(dir) + "': " + error.message());
    return found;
  }
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    std::optional<PictureFile> file = ParseName(path);
    if (!file) continue;
    const uint32_t count = sections.Count(file->Section);
    if (file->Number == 0 || file->Number > count) {
      errors.push_back(file->Name + ": the base has no " + SectionWord(file->Section) + " " +
                       std::to_string(file->Number) + " (it has " + std::to_string(count) + ", from 1)");
      continue;
    }
    const uint32_t chunk = sections.ChunkOf(file->Section, file->Number);
    const auto [at, added] = found.emplace(chunk, *file);
    if (!added)
      errors.push_back(file->Name + ": " + at->second.Name + " names the same " + SectionWord(file->Section) +
                       "; keep one of them");
  }
  return found;
}

// Whether a texture has no holes; if it has, `error` names the first and
// counts the others.
bool NoHoles(const FramedPicture& picture, std::string& error) {
  size_t holes = 0;
  std::string first;
  for (int y = 0; y < FrameSide; ++y) {
    for (int x = 0; x < FrameSide; ++x) {
      if (picture.Opaque[static_cast<size_t>(x * FrameSide + y)]) continue;
      if (holes++ == 0)
        first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                ") is transparent: a texture has no holes";
    }
  }
  if (holes == 0) return true;
  error = holes == 1 ? first : first + " (and " + std::to_string(holes - 1) + " more transparent pixels)";
  return false;
}

// Reads and checks one picture, and finds the bytes its chunk gets; its
// faults go to `errors`.
std::optional<Replacement> MakeReplacement(const RWlChunk& old, uint32_t chunk, const PictureFile& file,
                                           const ReadOptions& options, std::vector<std::string>& errors) {
  const auto fail = [&](const std::string& why) {
    errors.push_back(file.Name + ": " + why);
    return std::nullopt;
  };
  if (file.Section == SectionKind::Sprite && file.Format == PictureFormat::Bmp)
    return fail(
        "a sprite needs its holes, which a BMP file does not keep: export with --framed and edit the PNG");
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileWhole(file.Path, kMaxPictureFile, "a 64 x 64 picture", bytes, error)) return fail(error);

  // What the base's chunk draws: colours that the palette holds twice keep
  // its indices, and a picture equal to it keeps the chunk as it is.
  ByteVector copy;
  const std::span<const uint8_t> before = WholeChunk(old.Data, copy);
  const std::optional<FramedPicture> drawn =
      old.Size > 0 ? std::optional(FrameElement(before, file.Section)) : std::nullopt;
  ReadOptions withBase = options;
  withBase.Base = drawn ? &*drawn : nullptr;
  PictureRead read;
  if (file.Format == PictureFormat::Png) read = ReadFramedPng(bytes, withBase);
  if (file.Format == PictureFormat::Bmp) read = ReadFramedBmp(bytes, withBase);
  if (file.Section == SectionKind::Texture && read.Errors.empty()) {
    if (std::string holes; !NoHoles(read.Picture, holes)) read.Errors.push_back(holes);
  }
  for (const std::string& why : read.Errors) fail(why);
  if (!read.Errors.empty()) return std::nullopt;

  Replacement r;
  r.Chunk = chunk;
  // A chunk that the base holds keeps its bytes, whatever their encoding,
  // when the picture is what it draws, and its layout when only pixels
  // change; an absent chunk becomes a chunk like any other.
  if (drawn && *drawn == read.Picture) {
    r.Unchanged = true;
    return r;
  }
  if (auto repainted = drawn ? RepaintChunk(before, file.Section, read.Picture) : std::nullopt) {
    r.Bytes = std::move(*repainted);
  } else if (file.Section == SectionKind::Texture) {
    r.Bytes = EncodeTextureChunk(read.Picture);
  } else {
    r.Bytes = EncodeSpriteChunk(read.Picture);
    if (r.Bytes.size() > MaxSpriteChunkSize)
      return fail("the sprite takes " + std::to_string(r.Bytes.size()) + " bytes, more than the " +
                  std::to_string(MaxSpriteChunkSize) +
                  " of a page, so the game cannot load it; fewer gaps in its columns make it smaller");
  }
  r.Line = std::string(SectionWord(file.Section)) + " " + std::to_string(file.Number) + " (chunk " +
           std::to_string(chunk) + ") from " + file.Name + ", " + std::to_string(r.Bytes.size()) + " bytes";
  if (read.MovedToNearest > 0)
    r.Line += ", " + std::to_string(read.MovedToNearest) + " pixels moved to the nearest palette colour";
  return r;
}

// Loads the base after checking that OUT is not the base and DIR is a
// folder; false, with the reason in `result`, when one of them fails.
bool LoadBase(const PackRequest& request, RWlFile& file, PackResult& result) {
  if (SameFile(Utf8Path(request.Out), Utf8Path(request.Base))) {
    result.Errors.push_back("'" + request.Out + "' is the base file '" + request.Base +
                            "': pack never changes the base; name a new file");
    return false;
  }
  std::error_code error;
  if (!fs::is_directory(Utf8Path(request.Dir), error)) {
    result.Errors.push_back("'" + request.Dir + "' is not a folder");
    return false;
  }
  std::string reason;
  if (!LoadPageFile(file, request.Base, reason)) {
    result.Errors.push_back("cannot open the base file '" + request.Base + "': " + reason);
    return false;
  }
  return true;
}

// What is odd about the base but does not keep it from being packed.
void WarnAboutBase(const RWlFile& file, const GameSections& sections, std::vector<std::string>& warnings) {
  if (!sections.FromHeader && sections.ChunkCount > 0)
    warnings.push_back(SectionsFallbackReason(file.Header, sections.ChunkCount) +
                       "; the base's sections follow the viewer's split instead");
  const PageLayout layout = ReadPageLayout(file);
  if (!layout.PastEnd.empty())
    warnings.push_back("the base's table points past its end (" + std::to_string(file.FileSize) +
                       " bytes) for " + std::to_string(layout.PastEnd.size()) +
                       " chunks: they are copied as the viewer reads them, zeros where the file ends");
  if (layout.EntriesMissing > 0)
    warnings.push_back(
        "the base's tables end past the file's end: the entries it does not hold are "
        "empty chunks, as the viewer reads them");
}

// The new file's chunks: the base's, with the pictures' new bytes over them
// and the sound section rewritten around new sounds, whose pages and table
// `sounds` and `table` keep. Counts what `result` reports.
std::vector<NewChunk> NewChunks(const RWlFile& file, const GameSections& sections,
                                const std::vector<Replacement>& pictures, SoundFiles& sounds,
                                std::vector<uint8_t>& table, PackResult& result) {
  std::vector<NewChunk> chunks(file.Chunks.size());
  for (uint32_t i = 0; i < chunks.size(); ++i) chunks[i].Base = i;
  for (const Replacement& r : pictures) {
    if (r.Unchanged) {
      ++result.UnchangedCount;
      continue;
    }
    chunks[r.Chunk] = {NewChunk::kNew, r.Bytes};
    result.Replaced.push_back(r.Line);
    ++result.ReplacedCount;
  }
  const SoundTable old = ReadSoundTable(file, sections);
  result.UnchangedCount += DropUnchangedSounds(file, old, sounds);
  if (!sounds.Sounds.empty()) {
    PlaceSounds(file, old, sounds, chunks, table, result.Replaced, result.Errors);
    result.ReplacedCount += sounds.Sounds.size();
  }
  return chunks;
}

}  // namespace

PackResult Pack(const PackRequest& request) {
  PackResult result;
  RWlFile file;
  if (!LoadBase(request, file, result)) return result;
  const GameSections sections = ReadGameSections(file);
  WarnAboutBase(file, sections, result.Warnings);

  const fs::path dir = Utf8Path(request.Dir);
  const PaletteMatcher palette(request.Colors);
  const ReadOptions options{&palette, request.Nearest};
  std::vector<Replacement> pictures;
  for (const auto& [chunk, picture] : FindPictures(dir, sections, result.Errors)) {
    if (auto r = MakeReplacement(file.Chunks[chunk], chunk, picture, options, result.Errors))
      pictures.push_back(std::move(*r));
  }
  SoundFiles sounds = ReadSoundFiles(dir, result.Errors);
  if (!result.Errors.empty()) return result;

  std::vector<uint8_t> table;
  const std::vector<NewChunk> chunks = NewChunks(file, sections, pictures, sounds, table, result);
  if (!result.Errors.empty()) return result;
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!AssemblePageFile(file, chunks, bytes, reason) ||
      !WriteFileWhole(Utf8Path(request.Out), bytes, reason)) {
    result.Errors.push_back(reason);
    return result;
  }
  result.Written = true;
  result.CopiedCount = static_cast<size_t>(std::count_if(
      chunks.begin(), chunks.end(), [](const NewChunk& c) { return c.Base != NewChunk::kNew; }));
  result.Bytes = bytes.size();
  return result;
}
