// Opening a page file in the viewer: the tree rebuilt as it loads, and the
// file node shown.
#pragma once

#include <string>

struct RMainWindow;

// Replaces the open file with the page file at `path` (UTF-8) and rebuilds
// the tree; the start view's links go for good.
void LoadWlFile(RMainWindow& mainWindow, const std::string& path);
