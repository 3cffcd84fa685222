// tessarine-cli: the viewer's facts about a page file, on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"

namespace {
constexpr char kUsage[] =
    "Usage: tessarine-cli COMMAND FILE [ARGS]\n"
    "Shows what the Tessarine viewer shows about a Wolfenstein 3D page file\n"
    "(vswap.wl6, vswap.wl1).\n"
    "\n"
    "Commands:\n"
    "  info FILE              the file node's and the three sections' facts\n"
    "  list FILE              one line per chunk: index, tree caption, size\n"
    "  show FILE INDEX        the facts of chunk INDEX\n"
    "  export FILE DIR [--png]  every texture and sprite as BMP (or PNG) files\n"
    "  --help                 this text\n";
}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = Utf8Arguments(argc, argv);
  if (args.size() >= 2 && (args[1] == "--help" || args[1] == "-h" || args[1] == "help")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() < 2) {
    std::fputs("tessarine-cli: missing command; try 'tessarine-cli --help'\n", stderr);
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  return RunCommand(args[1], rest);
}
