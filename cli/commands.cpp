#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <system_error>

#include "base/streams.h"
#include "cli/export.h"
#include "cli/outputfile.h"
#include "cli/pack.h"
#include "cli/sounds.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/palettefile.h"
#include "pagefile/wlfile.h"
#include "ui/nodetext.h"

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
  if (!FileStream(path).IsOpen()) std::fprintf(stderr, "tessarine-cli: cannot open '%s'\n", path.c_str());
  LoadPageFile(file, path);
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
  return 0;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail("usage: tessarine-cli list FILE");
  RWlFile file;
  Load(file, args[0]);
  uint32_t numbers[3] = {};
  for (size_t i = 0; i < file.Chunks.size(); ++i) {
    const SectionKind section = SectionOf(static_cast<uint32_t>(i));
    const uint32_t number = ++numbers[static_cast<int>(section)];
    std::printf("%zu %s %u\n", i, ElementCaption(section, number).c_str(), unsigned{file.Chunks[i].Size});
  }
  return 0;
}

int Show(const std::vector<std::string>& args) {
  if (args.size() != 2) return Fail("usage: tessarine-cli show FILE INDEX");
  RWlFile file;
  Load(file, args[0]);
  const std::string& text = args[1];
  const bool digits =
      !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
  const unsigned long index = digits ? std::stoul(text) : 0;
  if (!digits || index >= file.Chunks.size())
    return Fail("no chunk '" + text + "': the file has " + std::to_string(file.Chunks.size()) +
                " chunks, numbered from 0");
  const auto chunk = static_cast<uint32_t>(index);
  const SectionKind section = SectionOf(chunk);
  InitBmpTemplate();
  EnsureDecoded(file, chunk);
  std::printf("%s\n", ElementCaption(section, ElementNumber(chunk)).c_str());
  PrintInfo(NodeInfoText(ElementNodeKind(section), file, chunk));
  return 0;
}

int Export(const std::vector<std::string>& given) {
  constexpr char usage[] = "usage: tessarine-cli export FILE DIR [--png | --framed] [--sheet] [--sounds]";
  if (given.size() < 2) return Fail(usage);
  // --sounds adds the sounds to whatever pictures the other options ask for.
  std::vector<std::string> args = given;
  const auto soundsOption = std::find(args.begin() + 2, args.end(), "--sounds");
  const bool sounds = soundsOption != args.end();
  if (sounds) args.erase(soundsOption);
  ExportOptions options;
  std::string problem;
  if (!ParseExportOptions({args.begin() + 2, args.end()}, options, problem))
    return Fail(problem + "; " + usage);
#ifndef TESSARINE_PNG
  if (NeedsPng(options))
    return Fail("this build writes BMP files only; PNG files need the build with libdeflate and libspng");
#endif
#ifndef TESSARINE_SOUND
  if (sounds) return Fail("this build writes no sound files; --sounds needs the build with libsndfile");
#endif
  RWlFile file;
  Load(file, args[0]);
  if (file.Chunks.empty()) return Error("'" + args[0] + "' holds no texture or sprite; nothing was written");
  const std::filesystem::path dir = Utf8Path(args[1]);
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return Error("cannot create '" + args[1] + "': " + error.message());

  InitBmpTemplate();
  ExportReport report;
  const bool whole = ExportElements(file, dir, options, report, problem, [](const std::string& note) {
    std::fprintf(stderr, "tessarine-cli: %s\n", note.c_str());
  });
  if (!whole) return Error(problem + "; " + std::to_string(report.Written) + " files were written before it");
  size_t badSounds = 0;
#ifdef TESSARINE_SOUND
  if (sounds) {
    const SoundExport exported = ExportSounds(file, dir);
    report.Written += exported.Written;
    if (!exported.Error.empty())
      return Error(exported.Error + "; " + std::to_string(report.Written) + " files were written before it");
    badSounds = exported.BadEntries;
  }
#endif
  std::printf("%zu files written to %s\n", report.Written, args[1].c_str());
  if (report.Skipped > 0)
    return Error(std::to_string(report.Skipped) + " pictures have no PNG form and were not written");
  if (badSounds > 0) return Error("the sound table has problems (above); only its good sounds were written");
  return 0;
}

// The built-in palette for image editors, in the format OUT's extension names.
int PaletteCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail("usage: tessarine-cli palette OUT.gpl|OUT.pal|OUT.act");
  const std::optional<PaletteFormat> format = PaletteFormatOf(args[0]);
  if (!format)
    return Fail("cannot tell the palette format of '" + args[0] +
                "': name a .gpl (GIMP), .pal (JASC-PAL) or .act (Adobe colour table) file");
  InitBmpTemplate();
  std::string problem;
  if (!WriteFileWhole(Utf8Path(args[0]), PaletteFile(BuiltInPalette(), *format), problem))
    return Error(problem);
  return 0;
}

constexpr char kPackHelp[] =
    "Usage: tessarine-cli pack DIR OUT --base FILE [--nearest]\n"
    "Writes a new page file OUT: the chunks of FILE, with every texture and\n"
    "sprite that DIR holds a picture for replaced, laid out as the game's own\n"
    "files are. FILE is only read, and OUT may not be FILE.\n"
    "\n"
    "Pictures, named as export names them (texture-001.png, sprite-435.png):\n"
    "  64 x 64 PNG, indexed with the game's palette (tRNS makes holes), or any\n"
    "  other PNG in the palette's colours: grey, RGB, RGBA or another palette,\n"
    "  8 or 16 bits a sample (16-bit ones the colour's value x 257), gamma and\n"
    "  colour profiles ignored; alpha 0 or tRNS's colour is a hole, partial\n"
    "  alpha an error. For textures also the 64 x 64 8-bit BMP that export\n"
    "  writes.\n"
    "  A texture has no holes. A sprite with no opaque pixel becomes the\n"
    "  smallest sprite: column 32 alone, with no runs.\n"
    "  --nearest  a colour not in the palette takes the nearest palette colour:\n"
    "             the smallest sum of squared red, green and blue differences,\n"
    "             the lowest index on a tie; otherwise such a colour is an error.\n"
    "\n"
    "Sounds, named as export --sounds names them (sound-003.wav), in any format\n"
    "libsndfile reads (WAV, FLAC, Ogg Vorbis, ...; native build only), become\n"
    "the game's 8-bit unsigned mono at 7042 Hz (a file already in that form is\n"
    "taken as it is) in pages of 4096 bytes; the sound table is rewritten and\n"
    "the chunks after them move; a sound holds at most 65535 samples.\n";

int PackCommand(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--help") {
    std::fputs(kPackHelp, stdout);
#ifndef TESSARINE_PNG
    std::fputs(
        "This build reads BMP textures only; PNG pictures need the build with libdeflate and libspng.\n",
        stdout);
#endif
#ifndef TESSARINE_SOUND
    std::fputs("This build reads no sound files; they need the build with libsndfile.\n", stdout);
#endif
    return 0;
  }
  PackRequest request;
  std::vector<std::string> positional;
  bool based = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--nearest") {
      request.Nearest = true;
    } else if (args[i] == "--base" && i + 1 < args.size() && !based) {
      request.Base = args[++i];
      based = true;
    } else if (args[i].starts_with("--")) {
      return Fail("unknown option '" + args[i] +
                  "'; usage: tessarine-cli pack DIR OUT --base FILE [--nearest]");
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2 || !based)
    return Fail("usage: tessarine-cli pack DIR OUT --base FILE [--nearest]; try 'tessarine-cli pack --help'");
  request.Dir = positional[0];
  request.Out = positional[1];

  const PackResult result = Pack(request);
  for (const std::string& warning : result.Warnings)
    std::fprintf(stderr, "tessarine-cli: warning: %s\n", warning.c_str());
  for (const std::string& error : result.Errors) std::fprintf(stderr, "tessarine-cli: %s\n", error.c_str());
  if (!result.Written) return Error("nothing written");
  for (const std::string& line : result.Replaced) std::printf("%s\n", line.c_str());
  std::printf("%zu replaced, %zu copied, %llu bytes written to %s\n", result.ReplacedCount,
              result.CopiedCount, static_cast<unsigned long long>(result.Bytes), request.Out.c_str());
  return 0;
}

}  // namespace

int RunCommand(const std::string& command, const std::vector<std::string>& args) {
  static const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands = {
      {"export", Export},          {"info", Info}, {"list", List},         {"pack", PackCommand},
      {"palette", PaletteCommand}, {"show", Show}, {"sounds", ListSounds},
  };
  const auto it = commands.find(command);
  if (it == commands.end()) return Fail("unknown command '" + command + "'; try 'tessarine-cli --help'");
  return it->second(args);
}
