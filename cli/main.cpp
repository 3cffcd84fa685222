// tessarine-cli: the viewer's facts about a page file, on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "base/arguments.h"
#include "base/version.h"
#include "cli/commands.h"

namespace {
constexpr char kUsage[] =
    "Usage: tessarine-cli COMMAND FILE [ARGS]\n"
    "Shows what the Tessarine viewer shows about a Wolfenstein 3D page file\n"
    "(vswap.wl6, vswap.wl1), and exports its pictures.\n"
    "\n"
    "Commands:\n"
    "  info FILE              the file node's and the three sections' facts, as\n"
    "                         the viewer shows them; then the file as the game\n"
    "                         reads it: its sections from the header, absent\n"
    "                         chunks and sounds, layout, bytes after the chunks\n"
    "  list FILE              one line per chunk: index, tree caption, size\n"
    "  show FILE INDEX        the facts of chunk INDEX\n"
    "  export FILE DIR        every texture and sprite as a BMP file, as the viewer\n"
    "                         shows it (sprites as wide as their columns); the\n"
    "                         sections are the file's own, and chunks absent from\n"
    "                         the file (length 0) get no file\n"
    "      e.g. tessarine-cli export vswap.wl6 pictures\n"
    "  export FILE DIR --png  the same pictures as palettised PNG files\n"
    "      e.g. tessarine-cli export vswap.wl6 pictures --png\n"
    "  export FILE DIR --framed\n"
    "                         64 x 64 palettised PNG files: sprites at their place\n"
    "                         in the game's frame, undrawn pixels transparent\n"
    "      e.g. tessarine-cli export vswap.wl6 frames --framed\n"
    "  export FILE DIR --sheet  also textures.png and sprites.png in DIR, every\n"
    "                         framed picture of the section on one sheet, 16 a row;\n"
    "                         goes alone or with --png or --framed\n"
    "      e.g. tessarine-cli export vswap.wl6 frames --framed --sheet\n"
    "  export FILE DIR ... --sounds\n"
    "                         with any of the above, also every digitized sound as\n"
    "                         sound-NNN.wav: 8-bit unsigned mono at 7042 Hz\n"
    "  sounds FILE            one line per digitized sound: number, first chunk,\n"
    "                         chunk count, bytes, seconds at 7042 Hz, and 'absent'\n"
    "                         for one the file leaves out; exits 1 if the sound\n"
    "                         table is missing or any entry does not fit\n"
    "  palette OUT            the built-in palette for image editors, in the format\n"
    "                         OUT's extension names: .gpl (GIMP), .pal (JASC-PAL),\n"
    "                         .act (Adobe colour table)\n"
    "      e.g. tessarine-cli palette wolf3d.gpl\n"
    "  pack DIR OUT --base FILE [--nearest]\n"
    "                         a new page file OUT: FILE's chunks, with the\n"
    "                         textures, sprites and sounds DIR holds files for\n"
    "                         in their place (the names export writes), in\n"
    "                         FILE's own layout; 'pack --help' tells more.\n"
    "                         --nearest maps a colour not in the palette to the\n"
    "                         nearest one (smallest squared RGB distance, lowest\n"
    "                         index on a tie); a sprite with no opaque pixel\n"
    "                         becomes column 32 alone, with no runs\n"
    "      e.g. tessarine-cli pack frames new.wl6 --base vswap.wl6\n"
    "  --palette PALETTE      with export, palette and pack: a palette of one's own\n"
    "                         in place of the built-in one (Spear of Destiny's, a\n"
    "                         mod's): .gpl, JASC-PAL .pal, .act, or 768 bytes of\n"
    "                         red, green and blue (6-bit when none exceeds 63)\n"
    "      e.g. tessarine-cli export vswap.sod pictures --png --palette sod.pal\n"
    "  --help                 this text\n"
    "  --version              the version\n"
    "\n"
    "pack reads sounds in WAV, AIFF, FLAC, Ogg Vorbis, Ogg Opus and the other\n"
    "formats libsndfile reads; MP3 in the Linux build only.\n";
}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = Utf8Arguments(argc, argv);
  if (args.size() >= 2 && (args[1] == "--help" || args[1] == "-h" || args[1] == "help")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() == 2 && args[1] == "--version") {
    std::printf("tessarine-cli %s\n", TessarineVersionNumber);
    return 0;
  }
  if (args.size() < 2) {
    std::fputs("tessarine-cli: missing command; try 'tessarine-cli --help'\n", stderr);
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  return RunCommand(args[1], rest);
}
