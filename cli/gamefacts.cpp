#include "cli/gamefacts.h"

namespace {

std::string Counted(uint32_t count, uint32_t absent) {
  return std::to_string(count) + (absent > 0 ? " (" + std::to_string(absent) + " absent)" : "");
}

}  // namespace

std::string ChunkCountText(const std::vector<uint32_t>& chunks) {
  std::string text = std::to_string(chunks.size()) + (chunks.size() == 1 ? " chunk (" : " chunks (");
  for (size_t i = 0; i < chunks.size() && i < 8; ++i) text += (i ? ", " : "") + std::to_string(chunks[i]);
  return text + (chunks.size() > 8 ? ", ...)" : ")");
}

std::vector<std::string> GameFacts(const RWlFile& file, const GameSections& sections,
                                   const PageLayout& layout, const SoundTable& sounds) {
  std::vector<std::string> lines = {"As the game reads it"};
  if (file.Chunks.empty()) {
    lines.push_back("Chunks: none");
    return lines;
  }
  const HeaderWords& h = file.Header;
  lines.push_back(sections.FromHeader
                      ? "Sections: from the header words " + std::to_string(h.ChunkCount) + ", " +
                            std::to_string(h.SpriteStart) + ", " + std::to_string(h.SoundStart)
                      : "Sections: the viewer's split; " + SectionsFallbackReason(h, sections.ChunkCount));
  uint32_t absent[3] = {};
  for (uint32_t i = 0; i < sections.ChunkCount; ++i) {
    if (file.Chunks[i].Size > 0 || (sections.HasTable() && i == sections.TableChunk())) continue;
    ++absent[static_cast<int>(sections.Of(i))];
  }
  lines.push_back("Textures: " + Counted(sections.Textures(), absent[0]));
  lines.push_back("Sprites: " + Counted(sections.Sprites(), absent[1]));
  if (sections.HasTable()) {
    lines.push_back("Sound pages: " + Counted(sections.SoundPages(), absent[2]));
    std::string table = "Sound table: chunk " + std::to_string(sections.TableChunk()) + ", " +
                        std::to_string(sounds.Sounds.size()) + " sounds";
    const size_t absentSounds = sounds.AbsentCount();
    if (absentSounds > 0) table += " (" + std::to_string(absentSounds) + " absent)";
    if (!sounds.Problems.empty())
      table +=
          "; 'sounds' names its " +
          (sounds.Problems.size() == 1 ? "problem" : std::to_string(sounds.Problems.size()) + " problems");
    lines.push_back(table);
  } else {
    lines.push_back("Sound table: none");
  }
  lines.push_back(std::string("Layout: ") + (layout.Present == 0 ? "no chunk is present"
                                             : layout.Aligned    ? "512-aligned"
                                             : layout.BackToBack ? "back to back"
                                                                 : "neither 512-aligned nor back to back"));
  lines.push_back("After the last chunk: " + std::to_string(layout.Trailing) + " bytes" +
                  (layout.ZeroPadding ? ", zeros up to a multiple of 512" : ""));
  for (const std::string& line : DamageLines(file, layout)) lines.push_back("Damaged: " + line);
  return lines;
}

std::vector<std::string> DamageLines(const RWlFile& file, const PageLayout& layout) {
  std::vector<std::string> lines;
  if (layout.EntriesMissing > 0)
    lines.push_back("the file ends inside the directory: " + std::to_string(layout.EntriesMissing) +
                    " of its " + std::to_string(file.Chunks.size()) + " entries are missing and read as 0");
  if (!layout.PastEnd.empty())
    lines.push_back(ChunkCountText(layout.PastEnd) + " lie wholly or partly past the end of the file");
  return lines;
}
