#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <system_error>

#include "cli/export.h"
#include "cli/outputfile.h"
#include "cli/sounds.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "imaging/palettefile.h"
#include "pagefile/wlfile.h"
#include "ui/nodetext.h"
#include "winlayer/streams.h"

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
    return Fail("this build writes BMP files only; PNG files need the build with libpng");
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

}  // namespace

int RunCommand(const std::string& command, const std::vector<std::string>& args) {
  static const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands = {
      {"export", Export},          {"info", Info}, {"list", List},
      {"palette", PaletteCommand}, {"show", Show}, {"sounds", ListSounds},
  };
  const auto it = commands.find(command);
  if (it == commands.end()) return Fail("unknown command '" + command + "'; try 'tessarine-cli --help'");
  return it->second(args);
}
