#include "cli/commands.h"

#include <cstdio>
#include <functional>
#include <map>

#include "pagefile/wlfile.h"
#include "ui/nodetext.h"
#include "winlayer/streams.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "tessarine-cli: %s\n", message.c_str());
  return 2;
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

}  // namespace

int RunCommand(const std::string& command, const std::vector<std::string>& args) {
  static const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands = {
      {"info", Info},
      {"list", List},
  };
  const auto it = commands.find(command);
  if (it == commands.end()) return Fail("unknown command '" + command + "'; try 'tessarine-cli --help'");
  return it->second(args);
}
