// Browsing timed in-process, each figure beside a baseline measured in the
// same run: opening a full-size and a 65,535-chunk page file until the file
// node's facts are painted (against reading the same file), selecting every
// texture and sprite (against decoding them alone), and repainting the
// preview during a zoom drag at zoom 1, 10 and 1000 (against a blank pane).
// Prints a table; arguments: [REPEATS].
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/globals_win.h"
#include "app/mainwindow_win.h"
#include "imaging/decoder.h"
#include "pagewriter.h"
#include "ui/elementtree_win.h"
#include "ui/openfile_win.h"

namespace {

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

// Median of `repeats` runs of `run`, in seconds.
template <class Run>
double Median(int repeats, Run run) {
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    const double t0 = Now();
    run();
    times.push_back(Now() - t0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Drain() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Paints everything that waits to be painted, now.
void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

// A full-size file as the game has it: 106 textures, 435 sprites of varied
// widths and 122 sound chunks.
PageFileLayout FullSizeLayout() {
  std::mt19937 random(7);
  PageFileLayout layout;
  for (int i = 0; i < 106; ++i) {
    TexturePicture t{};
    for (auto& column : t) {
      for (auto& p : column) p = static_cast<uint8_t>(random());
    }
    layout.Chunks.push_back({.Bytes = EncodeTexture(t), .Offset = {}, .Size = {}});
  }
  for (int i = 0; i < 435; ++i) {
    SpritePicture s{};
    const int left = 32 - (i % 32);
    const int right = 31 + (i % 29);
    for (int x = 0; x < 64; ++x) {
      for (int y = 0; y < 64; ++y) {
        const bool inside = x >= left && x <= right && (x + y) % 7 != 0;
        s[x][y] = static_cast<int16_t>(inside ? static_cast<int>(random() % 256) : -1);
      }
    }
    layout.Chunks.push_back({.Bytes = EncodeSprite(s), .Offset = {}, .Size = {}});
  }
  for (int i = 0; i < 122; ++i) {
    layout.Chunks.push_back(
        {.Bytes = std::vector<uint8_t>(4096, static_cast<uint8_t>(i)), .Offset = {}, .Size = {}});
  }
  return layout;
}

PageFileLayout LargeLayout() {
  PageFileLayout layout;
  layout.Chunks.resize(65535);
  for (size_t i = 0; i < layout.Chunks.size(); ++i)
    layout.Chunks[i].Bytes.assign(16, static_cast<uint8_t>(i));
  return layout;
}

std::string TempFile(const char* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::string path;
  for (const wchar_t* c = dir; *c; ++c) path += static_cast<char>(*c);
  return path + name;
}

// Reads the whole file, as the least that opening it costs.
size_t ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return bytes.size();
}

std::vector<HTREEITEM> ChildrenOf(const TreeView& tree, HTREEITEM parent) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM i = TreeView_GetChild(tree.Handle(), parent); i;
       i = TreeView_GetNextSibling(tree.Handle(), i))
    items.push_back(i);
  return items;
}

void Row(const char* what, double seconds, const char* baseline, double baseSeconds) {
  std::printf("%-44s %10.3f ms   %-28s %10.3f ms   ratio %8.1f\n", what, seconds * 1e3, baseline,
              baseSeconds * 1e3, seconds / baseSeconds);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int repeats = __argc > 1 ? std::max(1, std::atoi(__argv[1])) : 5;
  ApplicationWindow application;
  if (!CreateAppWindow(application) || !BuildMainWindow(MainWindow, application)) return 1;
  RMainWindow& mw = *MainWindow;
  TopWindow& frame = *application.MainWindow();
  frame.ShowWindow();
  SetWindowPos(frame.Handle(), nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
  Drain();
  const HWND pane = mw.PreviewPane->Handle();

  const std::string full = TempFile("tessarine-bench-full.wl6");
  const std::string large = TempFile("tessarine-bench-large.wl6");
  WritePageFile(full, FullSizeLayout());
  WritePageFile(large, LargeLayout());
  std::printf("Browsing under this system; medians of %d runs\n\n", repeats);

  for (const auto& [path, name] :
       {std::pair{full, "open 663 chunks, facts shown"}, {large, "open 65,535 chunks, facts shown"}}) {
    const double open = Median(repeats, [&] {
      LoadWlFile(mw, path);
      PaintNow(frame.Handle());
    });
    const double read = Median(repeats, [&] { ReadWhole(path); });
    Row(name, open, "read the file whole", read);
  }

  // Every texture and sprite selected in turn, each fully painted.
  LoadWlFile(mw, full);
  TreeView& tree = *mw.ElementTree;
  std::vector<HTREEITEM> elements = ChildrenOf(tree, TextureItem);
  const std::vector<HTREEITEM> sprites = ChildrenOf(tree, SpriteItem);
  elements.insert(elements.end(), sprites.begin(), sprites.end());
  const double selectAll = Median(repeats, [&] {
    LoadWlFile(mw, full);
    for (HTREEITEM item : elements) {
      tree.Select(item);
      PaintNow(frame.Handle());
    }
  });
  const double decodeAll = Median(repeats, [&] {
    LoadWlFile(mw, full);
    for (int32_t i = 0; i < 541; ++i) DecodeElement(WlFile, i);
  });
  Row("select all 541 textures and sprites", selectAll, "decode them alone", decodeAll);
  std::printf("%-44s %10.3f ms\n", "  per selection", selectAll * 1e3 / 541);

  // Repaints during a drag: the pointer moves one pixel up and down around
  // the press point, so the zoom stays at the value being measured.
  const auto dragRepaints = [&](double zoom) {
    constexpr int Moves = 200;
    ZoomState.Zoom = zoom;
    SendMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 100));
    const double t0 = Now();
    for (int i = 0; i < Moves; ++i) {
      SendMessageW(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 100 - (i & 1)));
      UpdateWindow(pane);
      GdiFlush();
    }
    const double each = (Now() - t0) / Moves;
    SendMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(10, 100));
    return each;
  };
  tree.Select(SpriteItem);
  Drain();
  const double blank = dragRepaints(1.0);
  tree.Select(elements[3]);
  Drain();
  for (double zoom : {1.0, 10.0, 1000.0, MaxZoom}) {
    char what[64];
    std::snprintf(what, sizeof(what), "preview repaint in a drag, texture at %g", zoom);
    Row(what, dragRepaints(zoom), "blank pane (section node)", blank);
  }
  tree.Select(elements[200]);
  Drain();
  for (double zoom : {1.0, 1000.0}) {
    char what[64];
    std::snprintf(what, sizeof(what), "preview repaint in a drag, sprite at %g", zoom);
    Row(what, dragRepaints(zoom), "blank pane (section node)", blank);
  }

  application.Destroy();
  AppWindow = nullptr;
  DeleteFileA(full.c_str());
  DeleteFileA(large.c_str());
  return 0;
}
