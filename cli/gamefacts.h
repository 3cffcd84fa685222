// What `info` says about a page file after the viewer's lines: the file as
// the game reads it, with its own sections, absent chunks, sounds and layout.
#pragma once

#include <string>
#include <vector>

#include "pagefile/pagelayout.h"
#include "pagefile/sections.h"
#include "pagefile/soundtable.h"

std::vector<std::string> GameFacts(const RWlFile& file, const GameSections& sections,
                                   const PageLayout& layout, const SoundTable& sounds);

// What is damaged in the file's directory and chunks: one sentence each,
// none for a whole file.
std::vector<std::string> DamageLines(const RWlFile& file, const PageLayout& layout);

// "3 chunks (660, 661, 662)": a count and the first few indices.
std::string ChunkCountText(const std::vector<uint32_t>& chunks);
