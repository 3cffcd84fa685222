#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <system_error>

#include "base/bitmap.h"
#include "base/streams.h"
#include "cli/outputfile.h"
#include "imaging/bmptemplate.h"
#include "imaging/decoder.h"
#include "pagefile/wlfile.h"
#include "ui/nodetext.h"
#ifdef TESSARINE_PNG
#include "imaging/pngcodec.h"
#endif

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

// Element number of chunk `index` in its section, as the tree counts.
uint32_t ElementNumber(uint32_t index) {
  switch (SectionOf(index)) {
    case SectionKind::Texture:
      return index + 1;
    case SectionKind::Sprite:
      return index + 1 - TextureChunks;
    case SectionKind::Unknown:
      break;
  }
  return index + 1 - TextureChunks - SpriteChunks;
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

int Export(const std::vector<std::string>& args) {
  const bool png = args.size() == 3 && args[2] == "--png";
  if (args.size() != 2 && !png) return Fail("usage: tessarine-cli export FILE DIR [--png]");
#ifndef TESSARINE_PNG
  if (png) return Fail("this build writes BMP files only; --png needs the build with libpng");
#endif
  RWlFile file;
  Load(file, args[0]);
  const std::filesystem::path dir = Utf8Path(args[1]);
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return Error("cannot create '" + args[1] + "': " + error.message());

  InitBmpTemplate();
  size_t written = 0;
  size_t skipped = 0;
  const uint32_t elements =
      std::min<uint32_t>(static_cast<uint32_t>(file.Chunks.size()), TextureChunks + SpriteChunks);
  for (uint32_t i = 0; i < elements; ++i) {
    const SectionKind section = SectionOf(i);
    char name[32];
    std::snprintf(name, sizeof name, "%s-%03u.%s", section == SectionKind::Texture ? "texture" : "sprite",
                  static_cast<unsigned>(ElementNumber(i)), png ? "png" : "bmp");
    MemoryStream image;
    WriteElementImage(file.Chunks[i].Data, section, image);
    std::vector<uint8_t> bytes(image.Bytes().begin(), image.Bytes().end());
#ifdef TESSARINE_PNG
    if (png) {
      Bitmap bitmap;
      image.Seek(0, SeekOrigin::Begin);
      bitmap.LoadFromStream(image);
      std::string reason;
      if (!EncodePng(bitmap, bytes, reason)) {
        std::fprintf(stderr, "tessarine-cli: %s not written: %s\n", name, reason.c_str());
        ++skipped;
        continue;
      }
    }
#endif
    std::string reason;
    if (!WriteFileWhole(dir / name, bytes, reason))
      return Error(reason + "; " + std::to_string(written) + " files were written before it");
    ++written;
  }
  std::printf("%zu files written to %s\n", written, args[1].c_str());
  if (skipped > 0) return Error(std::to_string(skipped) + " pictures have no PNG form and were not written");
  return 0;
}

}  // namespace

int RunCommand(const std::string& command, const std::vector<std::string>& args) {
  static const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands = {
      {"export", Export},
      {"info", Info},
      {"list", List},
      {"show", Show},
  };
  const auto it = commands.find(command);
  if (it == commands.end()) return Fail("unknown command '" + command + "'; try 'tessarine-cli --help'");
  return it->second(args);
}
