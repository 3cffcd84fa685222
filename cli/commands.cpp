#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <system_error>

#include "base/decimal.h"
#include "cli/export.h"
#include "cli/files.h"
#include "cli/gamefacts.h"
#include "cli/pack.h"
#include "imaging/decoder.h"
#include "imaging/palettefile.h"
#include "nodetext/nodetext.h"
#include "pagefile/pagelayout.h"
#include "pagefile/sections.h"
#include "pagefile/soundtable.h"
#include "pagefile/wlfile.h"

namespace {

// Wrong use of the tool.
int Fail(const std::string& message) {
  std::fprintf(stderr, "tessarine-cli: %s\n", message.c_str());
  return 2;
}

// The command was right but could not be carried out.
int Error(const std::string& message) {
  std::fprintf(stderr, "tessarine-cli: %s\n", message.c_str());
  return 1;
}

// Loads like the viewer does; an unreadable file is an empty table, and the
// user hears about it on stderr.
void Load(RWlFile& file, const std::string& path) {
  std::string error;
  if (!LoadPageFile(file, path, error))
    std::fprintf(stderr, "tessarine-cli: cannot open '%s': %s\n", path.c_str(), error.c_str());
}

// The sections as the game reads them; when the header words do not fit,
// the user hears that the viewer's split stands in.
GameSections Sections(const RWlFile& file) {
  const GameSections sections = ReadGameSections(file);
  if (!sections.FromHeader && sections.ChunkCount > 0)
    std::fprintf(stderr, "tessarine-cli: %s: %s; the sections follow the viewer's split instead\n",
                 file.FileName.c_str(), SectionsFallbackReason(file.Header, sections.ChunkCount).c_str());
  return sections;
}

// Takes "--palette FILE" out of `args` and reads FILE into `palette`; the
// built-in palette without it. Returns 0, or the exit code of a palette
// that cannot be used, which it has reported.
int TakePalette(std::vector<std::string>& args, Palette& palette) {
  palette = BuiltInPalette();
  const auto option = std::find(args.begin(), args.end(), "--palette");
  if (option == args.end()) return 0;
  if (option + 1 == args.end()) return Fail("--palette needs a palette file");
  const std::string path = *(option + 1);
  args.erase(option, option + 2);
  // The largest palette file a person writes is a text of 256 lines.
  constexpr uintmax_t kMaxPaletteFile = 64 << 10;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileWhole(Utf8Path(path), kMaxPaletteFile, "a palette", bytes, error))
    return Error("'" + path + "': " + error);
  if (!ReadPaletteFile(bytes, path, palette, error)) return Error(error);
  return 0;
}

// The sound table's problems, and a table of no sounds, on stderr.
void ReportTable(const RWlFile& file, const SoundTable& table) {
  if (table.Problems.empty() && table.Entries == 0)
    std::fprintf(stderr, "tessarine-cli: %s: the sound table (chunk %u) holds no sounds\n",
                 file.FileName.c_str(), static_cast<unsigned>(table.TableChunk));
  for (const std::string& problem : table.Problems)
    std::fprintf(stderr, "tessarine-cli: %s: %s\n", file.FileName.c_str(), problem.c_str());
}

void PrintInfo(const NodeInfo& info) {
  std::printf("%s\n", info.Title.c_str());
  for (const auto& line : info.Lines) {
    if (line) std::printf("%s\n", line->c_str());
  }
}

int Info(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail("usage: tessarine-cli info FILE");
  RWlFile file;
  Load(file, args[0]);
  for (NodeKind kind : {FileNode, TextureSection, SpriteSection, UnknownSection})
    PrintInfo(NodeInfoText(kind, file));
  const GameSections sections = Sections(file);
  for (const std::string& line :
       GameFacts(file, sections, ReadPageLayout(file), ReadSoundTable(file, sections)))
    std::printf("%s\n", line.c_str());
  return 0;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail("usage: tessarine-cli list FILE");
  RWlFile file;
  Load(file, args[0]);
  for (uint32_t i = 0; i < file.Chunks.size(); ++i)
    std::printf("%u %s %u\n", static_cast<unsigned>(i),
                ElementCaption(SectionOf(i), ElementNumber(i)).c_str(), unsigned{file.Chunks[i].Size});
  return 0;
}

int Show(const std::vector<std::string>& args) {
  if (args.size() != 2) return Fail("usage: tessarine-cli show FILE INDEX");
  RWlFile file;
  Load(file, args[0]);
  const std::string& text = args[1];
  const std::optional<uint64_t> index = ParseDecimal(text, 5);
  if (!index || *index >= file.Chunks.size())
    return Fail("no chunk '" + text + "': the file has " + std::to_string(file.Chunks.size()) +
                " chunks, numbered from 0");
  const auto chunk = static_cast<uint32_t>(*index);
  const SectionKind section = SectionOf(chunk);
  ByteVector copy;
  const ElementPlane plane = DecodePlane(WholeChunk(file.Chunks[chunk].Data, copy), section);
  std::printf("%s\n", ElementCaption(section, ElementNumber(chunk)).c_str());
  PrintInfo(ElementInfoText(section, file, chunk, plane.Width, plane.Colors));
  return 0;
}

int Export(const std::vector<std::string>& given) {
  constexpr char usage[] =
      "usage: tessarine-cli export FILE DIR [--png | --framed] [--sheet] [--sounds] [--palette PALETTE]";
  if (given.size() < 2) return Fail(usage);
  // --sounds adds the sounds to whatever pictures the other options ask for.
  std::vector<std::string> args = given;
  const auto soundsOption = std::find(args.begin() + 2, args.end(), "--sounds");
  const bool sounds = soundsOption != args.end();
  if (sounds) args.erase(soundsOption);
  Palette palette;
  std::vector<std::string> rest(args.begin() + 2, args.end());
  if (const int failed = TakePalette(rest, palette)) return failed;
  ExportOptions options;
  std::string problem;
  if (!ParseExportOptions(rest, options, problem)) return Fail(problem + "; " + usage);
  RWlFile file;
  Load(file, args[0]);
  if (file.Chunks.empty()) return Error("'" + args[0] + "' holds no texture or sprite; nothing was written");
  const GameSections sections = Sections(file);
  const std::filesystem::path dir = Utf8Path(args[1]);
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return Error("cannot create '" + args[1] + "': " + error.message());

  ExportReport report;
  const bool whole = ExportElements(
      file, sections, palette, dir, options, report, problem,
      [](const std::string& note) { std::fprintf(stderr, "tessarine-cli: %s\n", note.c_str()); });
  if (!whole) return Error(problem + "; " + std::to_string(report.Written) + " files were written before it");
  size_t badSounds = 0;
  if (sounds) {
    const SoundTable table = ReadSoundTable(file, sections);
    ReportTable(file, table);
    if (!ExportSounds(file, table, dir, report.Written, problem))
      return Error(problem + "; " + std::to_string(report.Written) + " files were written before it");
    badSounds = table.Problems.size();
  }
  std::printf("%zu files written to %s\n", report.Written, args[1].c_str());
  if (report.AbsentTextures + report.AbsentSprites > 0)
    std::printf("absent from the file, so not written: %zu textures, %zu sprites\n", report.AbsentTextures,
                report.AbsentSprites);
  if (report.PastEndTextures + report.PastEndSprites > 0)
    std::printf("past the end of the file, so not written: %zu textures, %zu sprites\n",
                report.PastEndTextures, report.PastEndSprites);
  const PageLayout layout = ReadPageLayout(file);
  if (!layout.PastEnd.empty() || layout.EntriesMissing > 0) {
    for (const std::string& line : DamageLines(file, layout))
      std::fprintf(stderr, "tessarine-cli: %s: %s\n", args[0].c_str(), line.c_str());
    return Error("the file is damaged (above); what it holds was written");
  }
  if (report.Skipped > 0)
    return Error(std::to_string(report.Skipped) + " pictures have no PNG form and were not written");
  if (badSounds > 0) return Error("the sound table has problems (above); only its good sounds were written");
  return 0;
}

int Sounds(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail("usage: tessarine-cli sounds FILE");
  RWlFile file;
  Load(file, args[0]);
  const SoundTable table = ReadSoundTable(file, Sections(file));
  ReportTable(file, table);
  for (const SoundEntry& s : table.Sounds)
    std::printf("%s %u %u %u %s%s\n", SoundNumber(s.Number).c_str(), static_cast<unsigned>(s.FirstChunk),
                static_cast<unsigned>(s.ChunkCount), static_cast<unsigned>(s.Bytes),
                SoundSeconds(s.Bytes).c_str(), s.Absent ? " absent" : "");
  const std::vector<std::string> damage = DamageLines(file, ReadPageLayout(file));
  for (const std::string& line : damage)
    std::fprintf(stderr, "tessarine-cli: %s: %s\n", args[0].c_str(), line.c_str());
  return table.Problems.size() + damage.size() == 0 ? 0 : 1;
}

// A palette for image editors, in the format OUT's extension names: the
// built-in one, or the one --palette gives, converted.
int PaletteCommand(const std::vector<std::string>& given) {
  constexpr char usage[] = "usage: tessarine-cli palette OUT.gpl|OUT.pal|OUT.act [--palette PALETTE]";
  std::vector<std::string> args = given;
  Palette palette;
  if (const int failed = TakePalette(args, palette)) return failed;
  if (args.size() != 1) return Fail(usage);
  const std::optional<PaletteFormat> format = PaletteFormatOf(args[0]);
  if (!format)
    return Fail("cannot tell the palette format of '" + args[0] +
                "': name a .gpl (GIMP), .pal (JASC-PAL) or .act (Adobe colour table) file");
  std::string problem;
  if (!WriteFileWhole(Utf8Path(args[0]), PaletteFile(palette, *format), problem)) return Error(problem);
  return 0;
}

constexpr char kPackHelp[] =
    "Usage: tessarine-cli pack DIR OUT --base FILE [--nearest] [--palette PALETTE]\n"
    "Writes a new page file OUT: the chunks of FILE, with every texture, sprite\n"
    "and sound that DIR holds a file for in their place. FILE is only read, and\n"
    "OUT may not be FILE. The sections are FILE's own, from its header: textures\n"
    "are chunks 0 to (first sprite chunk - 1), sprites run up to the first sound\n"
    "chunk; a picture never turns a chunk of one section into another.\n"
    "\n"
    "Pictures, named as export names them (texture-001.png, sprite-435.png):\n"
    "  64 x 64 PNG, indexed with the palette (tRNS makes holes), or any other PNG\n"
    "  in the palette's colours: grey, RGB, RGBA or another palette, 8 or 16 bits\n"
    "  a sample (16-bit ones the colour's value x 257), gamma and colour profiles\n"
    "  ignored; alpha 0 or tRNS's colour is a hole, partial alpha an error. For\n"
    "  textures also the 64 x 64 8-bit BMP that export writes. The palette\n"
    "  is the built-in one, or the one --palette reads (.gpl, JASC-PAL .pal,\n"
    "  .act, or 768 bytes of red, green and blue, 6-bit when none exceeds 63).\n"
    "  A colour that the palette holds at several indices takes the index that\n"
    "  FILE's chunk has at that pixel when its pixel has that colour, else the\n"
    "  lowest; an indexed PNG in the palette keeps its indices.\n"
    "  A picture that draws what the base's chunk draws keeps the chunk's bytes\n"
    "  as they are. An edited one keeps the chunk's layout and changes only its\n"
    "  pixel bytes when that draws it; otherwise it is encoded anew as the game's\n"
    "  own files are. A chunk absent from FILE (length 0) stays absent unless DIR\n"
    "  holds a picture for it. A texture has no holes. A sprite with no opaque\n"
    "  pixel becomes the smallest sprite: column 32 alone, with no runs.\n"
    "  --nearest  a colour not in the palette takes the nearest palette colour:\n"
    "             the smallest sum of squared red, green and blue differences,\n"
    "             the lowest index on a tie; otherwise such a colour is an error.\n"
    "\n"
    "Sounds, named as export --sounds names them (sound-003.wav): WAV, AIFF,\n"
    "FLAC, Ogg Vorbis, Ogg Opus or another format libsndfile reads (MP3 in the\n"
    "Linux build only), become the game's 8-bit unsigned mono at 7042 Hz (a\n"
    "file already in that form is taken as it is) in pages of 4096 bytes; the\n"
    "sound table is rewritten and the chunks after them move; a sound holds at\n"
    "most 65535 samples. A sound that holds the base's samples keeps its pages;\n"
    "an absent one may be given.\n"
    "\n"
    "Layout: OUT keeps FILE's layout wherever nothing forces a change. When no\n"
    "chunk changes its length, every chunk keeps its offset and every other byte\n"
    "of FILE stays as it was (gaps, padding, bytes after the last chunk). When\n"
    "chunks grow, shrink, appear or disappear, the chunks before the first such\n"
    "change keep their places; the rest follow in order, each at the next\n"
    "multiple of 512 bytes when every chunk of FILE starts at one, otherwise\n"
    "back to back; an absent chunk keeps FILE's offset for it. FILE's bytes\n"
    "after its last chunk follow the new last chunk: zeros that pad FILE to a\n"
    "multiple of 512 pad OUT the same way, other bytes are kept as they were.\n";

int PackCommand(const std::vector<std::string>& given) {
  constexpr char usage[] = "usage: tessarine-cli pack DIR OUT --base FILE [--nearest] [--palette PALETTE]";
  if (given.size() == 1 && given[0] == "--help") {
    std::fputs(kPackHelp, stdout);
    return 0;
  }
  PackRequest request;
  std::vector<std::string> args = given;
  if (const int failed = TakePalette(args, request.Colors)) return failed;
  std::vector<std::string> positional;
  bool based = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--nearest") {
      request.Nearest = true;
    } else if (args[i] == "--base" && i + 1 < args.size() && !based) {
      request.Base = args[++i];
      based = true;
    } else if (args[i].starts_with("--")) {
      return Fail("unknown option '" + args[i] + "'; " + usage);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2 || !based) return Fail(std::string(usage) + "; try 'tessarine-cli pack --help'");
  request.Dir = positional[0];
  request.Out = positional[1];

  const PackResult result = Pack(request);
  for (const std::string& warning : result.Warnings)
    std::fprintf(stderr, "tessarine-cli: warning: %s\n", warning.c_str());
  for (const std::string& error : result.Errors) std::fprintf(stderr, "tessarine-cli: %s\n", error.c_str());
  if (!result.Written) return Error("nothing written");
  for (const std::string& line : result.Replaced) std::printf("%s\n", line.c_str());
  std::printf("%zu replaced, %zu unchanged, %zu chunks copied, %llu bytes written to %s\n",
              result.ReplacedCount, result.UnchangedCount, result.CopiedCount,
              static_cast<unsigned long long>(result.Bytes), request.Out.c_str());
  return 0;
}

}  // namespace

int RunCommand(const std::string& command, const std::vector<std::string>& args) {
  static const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands = {
      {"export", Export},          {"info", Info}, {"list", List},     {"pack", PackCommand},
      {"palette", PaletteCommand}, {"show", Show}, {"sounds", Sounds},
  };
  const auto it = commands.find(command);
  if (it == commands.end()) return Fail("unknown command '" + command + "'; try 'tessarine-cli --help'");
  return it->second(args);
}
