#include "cli/export.h"

#include <algorithm>
#include <cstdio>

#include "base/bytevector.h"
#include "base/streams.h"
#include "cli/files.h"
#include "imaging/decoder.h"
#include "imaging/framedpng.h"
#include "imaging/framing.h"
#include "imaging/palettefile.h"
#include "sound/gamesound.h"

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

namespace {

// The bytes of one picture file; false, with the reason, for a picture that
// has no form in the chosen format. All come from the same plane.
bool PictureFile(const ElementPlane& plane, const FramedPicture& framed, const Palette& palette,
                 BmpHeadBytes& head, const ExportOptions& options, std::vector<uint8_t>& bytes,
                 std::string& reason, bool& rgba) {
  rgba = false;
  switch (options.Form) {
    case ExportOptions::Pictures::Framed:
      return EncodeFramedPng(framed, palette, bytes, rgba, reason);
    case ExportOptions::Pictures::Png: {
      if (plane.Width <= 0) {
        reason = "a picture 0 x 64 pixels has no PNG form";
        return false;
      }
      // Rows from the plane's columns.
      const auto width = static_cast<size_t>(plane.Width);
      std::vector<uint8_t> rows(width * FrameSide);
      for (size_t x = 0; x < width; ++x)
        for (size_t y = 0; y < FrameSide; ++y) rows[y * width + x] = plane.Index[x * FrameSide + y];
      return EncodePalettedPng(plane.Width, FrameSide, rows.data(), plane.Width, palette, bytes, reason);
    }
    case ExportOptions::Pictures::Bmp:
      break;
  }
  MemoryStream image;
  WriteBmpImage(plane, head, image);
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
    ByteVector copy;
    const ElementPlane plane = DecodePlane(WholeChunk(chunk.Data, copy), section);
    FramedPicture framed;
    if (framing) {
      framed = Framed(plane);
      if (options.Sheets) sheets[texture ? 0 : 1].push_back(framed);
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    bool rgba = false;
    if (!PictureFile(plane, framed, palette, head, options, bytes, reason, rgba)) {
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

bool ExportSounds(const RWlFile& file, const SoundTable& table, const std::filesystem::path& dir,
                  size_t& written, std::string& error) {
  std::vector<uint8_t> wav;
  for (const SoundEntry& s : table.Sounds) {
    if (s.Absent) continue;
    const std::string name = "sound-" + SoundNumber(s.Number) + ".wav";
    if (!EncodeGameWav(SoundSamples(file, s), wav, error)) {
      error = name + " not written: " + error;
      return false;
    }
    if (!WriteFileWhole(dir / name, wav, error)) return false;
    ++written;
  }
  return true;
}
