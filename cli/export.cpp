#include "cli/export.h"

#include <algorithm>
#include <cstdio>

#include "base/bytes.h"
#include "base/bytevector.h"
#include "base/streams.h"
#include "cli/outputfile.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/palettefile.h"

bool ParseExportOptions(const std::vector<std::string>& options, ExportOptions& out, std::string& error) {
  out = {};
  bool png = false;
  bool framed = false;
  for (const std::string& option : options) {
    if (option == "--png") {
      png = true;
    } else if (option == "--framed") {
      framed = true;
    } else if (option == "--sheet") {
      out.Sheets = true;
    } else {
      error = "unknown option '" + option + "'";
      return false;
    }
  }
  if (png && framed) {
    error = "--png and --framed both write sprite-NNN.png; choose one";
    return false;
  }
  out.Form = framed ? ExportOptions::Pictures::Framed
             : png  ? ExportOptions::Pictures::Png
                    : ExportOptions::Pictures::Bmp;
  return true;
}

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

namespace {

// The bytes of one picture file; false, with the reason, for a picture that
// has no form in the chosen format.
bool PictureFile(const RWlChunk& chunk, SectionKind section, const FramedPicture& framed,
                 const Palette& palette, BmpHeadBytes& head, const ExportOptions& options,
                 std::vector<uint8_t>& bytes, std::string& reason, bool& rgba) {
  rgba = false;
  if (options.Form == ExportOptions::Pictures::Framed)
    return EncodeFramedPng(framed, palette, bytes, rgba, reason);
  MemoryStream image;
  WriteElementImage(chunk.Data, section, head, image);
  if (options.Form == ExportOptions::Pictures::Png) {
    // The same pixels as the BMP image, whose rows are stored bottom row first.
    const auto width = static_cast<int32_t>(ReadLe32(image.Bytes().data() + BiWidthOffset));
    if (width <= 0) {
      reason = "a picture 0 x 64 pixels has no PNG form";
      return false;
    }
    const ptrdiff_t stride = (width + 3) / 4 * 4;
    const uint8_t* top = image.Bytes().data() + BmpHeadSize + 63 * stride;
    return EncodePalettedPng(width, 64, top, -stride, palette, bytes, reason);
  }
  bytes.assign(image.Bytes().begin(), image.Bytes().end());
  return true;
}

}  // namespace

bool ExportElements(const RWlFile& file, const GameSections& sections, const Palette& palette,
                    const std::filesystem::path& dir, const ExportOptions& options, ExportReport& report,
                    std::string& error, const std::function<void(const std::string&)>& note) {
  report = {};
  BmpHeadBytes head = BmpHead(palette);
  const bool framing = options.Form == ExportOptions::Pictures::Framed || options.Sheets;
  std::vector<FramedPicture> sheets[2];
  if (options.Sheets) {
    sheets[0].reserve(sections.Textures());
    sheets[1].reserve(sections.Sprites());
  }
  for (uint32_t i = 0; i < sections.SoundStart; ++i) {
    const SectionKind section = sections.Of(i);
    const bool texture = section == SectionKind::Texture;
    const RWlChunk& chunk = file.Chunks[i];
    if (chunk.Size == 0 || chunk.Data.Stored == 0) {
      // Absent from this file, or past its end: no picture, but its cell on
      // the sheet stays, so that cell k is still element k.
      if (chunk.Size == 0)
        ++(texture ? report.AbsentTextures : report.AbsentSprites);
      else
        ++(texture ? report.PastEndTextures : report.PastEndSprites);
      if (options.Sheets) sheets[texture ? 0 : 1].emplace_back();
      continue;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%s-%03u.%s", texture ? "texture" : "sprite",
                  static_cast<unsigned>(sections.Number(i)),
                  options.Form == ExportOptions::Pictures::Bmp ? "bmp" : "png");
    FramedPicture framed;
    if (framing) {
      ByteVector copy;
      framed = FrameElement(WholeChunk(chunk.Data, copy), section);
      if (options.Sheets) sheets[texture ? 0 : 1].push_back(framed);
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    bool rgba = false;
    if (!PictureFile(chunk, section, framed, palette, head, options, bytes, reason, rgba)) {
      note(std::string(name) + " not written: " + reason);
      ++report.Skipped;
      continue;
    }
    if (rgba)
      note(std::string(name) +
           " is RGBA: its pixels use all 256 palette indices, none is left for the holes");
    if (!WriteFileWhole(dir / name, bytes, error)) return false;
    ++report.Written;
  }
  if (options.Sheets) {
    const char* names[2] = {"textures.png", "sprites.png"};
    for (int s = 0; s < 2; ++s) {
      if (sheets[s].empty()) continue;
      std::vector<uint8_t> bytes;
      if (!EncodeSheetPng(sheets[s], palette, bytes, error)) return false;
      if (!WriteFileWhole(dir / names[s], bytes, error)) return false;
      ++report.Written;
    }
  }
  return true;
}
