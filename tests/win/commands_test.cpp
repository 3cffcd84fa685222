// The menu bar, its accelerators, the open dialog driven for real, the About
// box and the ways out of the program.
#include <vector>

#include "base/unicode_win.h"
#include "pagewriter.h"
#include "tempdir.h"
#include "ui/about_win.h"
#include "ui/elementtree_win.h"
#include "ui_support.h"

namespace {

struct MenuItem {
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  HMENU submenu = nullptr;
  std::string text;
};

MenuItem ItemAt(HMENU menu, UINT position) {
  wchar_t text[256] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 255;
  EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
  return {info.fType, info.fState, info.wID, info.hSubMenu, Narrow(text)};
}

// A small page file: two textures, one sprite and one chunk beyond them.
std::string WritePageFile(const TempDir& dir, const std::string& name, size_t chunks) {
  PageFileLayout layout;
  for (size_t i = 0; i < chunks; ++i)
    layout.Chunks.push_back({.Bytes = std::vector<uint8_t>(i + 1, 7), .Offset = {}, .Size = {}});
  const std::string path = dir.File(name);
  EXPECT_TRUE(WritePageFile(path, layout));
  return path;
}

// The dialog's own controls: the file name and the file type list.
constexpr int FileNameBox = 0x47c;   // cmb13
constexpr int FileNameEdit = 0x480;  // edt1
constexpr int FileTypeList = 0x470;  // cmb1

HWND FileNameOf(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, FileNameBox);
  return combo && IsWindowVisible(combo) ? combo : GetDlgItem(dialog, FileNameEdit);
}

// What the dialog showed when it came up.
struct DialogView {
  HWND owner = nullptr;
  std::string fileName;
  int fileType = -1;
  int fileTypes = 0;
  std::string firstType;
};

DialogView Look(HWND dialog) {
  DialogView view;
  view.owner = GetWindow(dialog, GW_OWNER);
  view.fileName = TextOf(FileNameOf(dialog));
  const HWND types = GetDlgItem(dialog, FileTypeList);
  view.fileType = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
  view.fileTypes = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
  wchar_t first[256] = {};
  SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  view.firstType = Narrow(first);
  return view;
}

void Choose(HWND dialog, const std::string& path, int fileType) {
  const HWND types = GetDlgItem(dialog, FileTypeList);
  // What the list tells its dialog when the user picks an entry.
  SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(fileType), 0);
  for (WORD code : {CBN_SELENDOK, CBN_SELCHANGE}) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(FileTypeList, code), reinterpret_cast<LPARAM>(types));
  }
  SetWindowTextW(FileNameOf(dialog), Widen(path).c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void Cancel(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }

using Commands = MainWindowTest;

TEST_F(Commands, MenuBarShowsFileAndHelpWithTheirItems) {
  const HMENU bar = GetMenu(Frame());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  const MenuItem file = ItemAt(bar, 0);
  const MenuItem help = ItemAt(bar, 1);
  EXPECT_EQ(file.text, "&Файл");
  EXPECT_EQ(help.text, "&Справка");
  ASSERT_EQ(GetMenuItemCount(file.submenu), 3);
  EXPECT_EQ(ItemAt(file.submenu, 0).text, "&Открыть...\tCtrl+O");
  EXPECT_TRUE(ItemAt(file.submenu, 1).type & MFT_SEPARATOR);
  EXPECT_EQ(ItemAt(file.submenu, 2).text, "&Выход\tAlt+X");
  ASSERT_EQ(GetMenuItemCount(help.submenu), 1);
  EXPECT_EQ(ItemAt(help.submenu, 0).text, "&О программе...");
}

TEST_F(Commands, MenuTitlesAndUnknownIdentifiersDoNothing) {
  for (WPARAM id : {4096, 4099, 4101, 0}) SendMessageW(Frame(), WM_COMMAND, id, 0);
  EXPECT_TRUE(Pump());
  EXPECT_TRUE(IsWindowVisible(Frame()));
}

TEST_F(Commands, CtrlOInTheTreeOpensTheDialogWhichCancelsQuietly) {
  SetFocus(Mw().ElementTree->Handle());
  ASSERT_EQ(GetFocus(), Mw().ElementTree->Handle());
  DialogView view;
  WhenDialogShows([&](HWND dialog) {
    view = Look(dialog);
    Cancel(dialog);
  });
  TypeKeys({VK_CONTROL, 'O'});
  PumpUntil(DialogWasHandled);
  ASSERT_TRUE(DialogWasHandled());
  EXPECT_EQ(view.owner, Frame());
  EXPECT_EQ(view.fileTypes, 2);
  EXPECT_EQ(view.firstType, "vswap.wl6 (*.wl6)");
  EXPECT_EQ(view.fileType, 0);
  EXPECT_EQ(Mw().ElementTree->Count(), 0);
  EXPECT_EQ(Mw().PageFileDialog->FileName, "");
  EXPECT_EQ(Mw().PageFileDialog->FilterIndex, 0);
  EXPECT_TRUE(Pump());
}

TEST_F(Commands, OpeningAFileBuildsTheTreeAndRemembersTheChoice) {
  const TempDir dir;
  const std::string path = WritePageFile(dir, "vswap.wl1", 110);

  WhenDialogShows([&](HWND dialog) { Choose(dialog, path, 1); });
  SendMessageW(Frame(), WM_COMMAND, 4097, 0);
  ASSERT_TRUE(DialogWasHandled());
  OpenDialog& dialog = *Mw().PageFileDialog;
  EXPECT_EQ(dialog.FilterIndex, 2);
  EXPECT_EQ(Narrow(Widen(dialog.FileName)), path);
  EXPECT_EQ(WlFile.Chunks.size(), 110u);

  TreeView& tree = *Mw().ElementTree;
  EXPECT_EQ(tree.Count(), 114);
  EXPECT_EQ(tree.Root(), RootItem);
  EXPECT_EQ(NodeCaption(tree, RootItem), "vswap.wl1");
  EXPECT_FALSE(Mw().AuthorLink->Visible());
  EXPECT_FALSE(IsWindowVisible(Mw().WebLink->Handle()));

  // The next dialog starts with the chosen file and file type; a cancel then
  // empties the name but keeps the type, and leaves the tree alone.
  DialogView again;
  WhenDialogShows([&](HWND d) {
    again = Look(d);
    Cancel(d);
  });
  SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(4097, 1), 0);
  ASSERT_TRUE(DialogWasHandled());
  EXPECT_EQ(again.fileType, 1);
  EXPECT_NE(again.fileName.find("vswap.wl1"), std::string::npos);
  EXPECT_EQ(dialog.FileName, "");
  EXPECT_EQ(dialog.FilterIndex, 2);
  EXPECT_EQ(tree.Count(), 114);

  DialogView third;
  WhenDialogShows([&](HWND d) {
    third = Look(d);
    Cancel(d);
  });
  SendMessageW(Frame(), WM_COMMAND, 4097, 0);
  EXPECT_EQ(third.fileType, 1);
  EXPECT_EQ(third.fileName, "");
}

TEST_F(Commands, DialogTakesPathsWithAnyCharacters) {
  const TempDir dir;
  const std::string path = WritePageFile(dir, "Вольф 3D ★ vswap.wl6", 3);
  WhenDialogShows([&](HWND dialog) { Choose(dialog, path, 0); });
  SendMessageW(Frame(), WM_COMMAND, 4097, 0);
  EXPECT_EQ(Mw().PageFileDialog->FileName, path);
  EXPECT_EQ(Mw().PageFileDialog->FilterIndex, 1);
  EXPECT_EQ(WlFile.Chunks.size(), 3u);
  EXPECT_EQ(NodeCaption(*Mw().ElementTree, RootItem), "Вольф 3D ★ vswap.wl6");
}

TEST_F(Commands, AltXInTheTreeEndsTheLoopWithExitCodeZero) {
  SetFocus(Mw().ElementTree->Handle());
  TypeKeys({VK_MENU, 'X'});
  EXPECT_TRUE(PumpUntil([&] { return quit_; }));
  EXPECT_EQ(loop_->ExitCode(), 0);
}

TEST_F(Commands, ExitPostsCloseAndTheEndRunsTheDestroyHandler) {
  const TempDir dir;
  LoadWlFile(Mw(), WritePageFile(dir, "vswap.wl6", 5));
  ASSERT_EQ(WlFile.Chunks.size(), 5u);
  SendMessageW(Frame(), WM_COMMAND, 4098, 0);
  // The command only posts WM_CLOSE: the window is still there.
  EXPECT_TRUE(IsWindowVisible(Frame()));
  EXPECT_FALSE(Pump());
  EXPECT_EQ(loop_->ExitCode(), 0);
  const HWND frame = Frame();
  app_.Destroy();
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(MainWindow, nullptr);
  EXPECT_FALSE(BackgroundBitmap);
  EXPECT_TRUE(WlFile.Chunks.empty());
}

TEST_F(Commands, CloseBoxEndsTheLoop) {
  SendMessageW(Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(Pump());
  EXPECT_EQ(loop_->ExitCode(), 0);
  EXPECT_TRUE(IsWindow(Frame()));
}

TEST_F(Commands, EndOfSessionTearsEverythingDownAtOnce) {
  const HWND frame = Frame();
  SendMessageW(frame, WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(IsWindow(frame));
  SendMessageW(frame, WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(IsWindow(app_.Handle()));
  EXPECT_EQ(MainWindow, nullptr);
  EXPECT_FALSE(BackgroundBitmap);
  EXPECT_FALSE(Pump());
}

TEST_F(Commands, AboutShowsTheSystemAboutBoxOwnedByTheApplicationWindow) {
  std::string title;
  HWND owner = nullptr;
  WhenDialogShows([&](HWND dialog) {
    title = TextOf(dialog);
    owner = GetWindow(dialog, GW_OWNER);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(Frame(), WM_COMMAND, 4100, 0);
  ASSERT_TRUE(DialogWasHandled());
  if (RunningUnderWine()) {
    // Wine's About box takes the whole argument as the program's name.
    EXPECT_EQ(title, "About О программе ''#О программе ''");
  } else {
    EXPECT_EQ(title, "О программе ''");
  }
  EXPECT_EQ(owner, app_.Handle());
  EXPECT_EQ(Mw().AboutBox->IconKind, 1);
  EXPECT_EQ(Mw().AboutBox->LineText, "О программе ''");
  EXPECT_TRUE(IsWindowVisible(Frame()));
}

TEST_F(Commands, MinimisingFromTheTaskbarStartsAtTheMainWindow) {
  const Rect main = PlaceOf(Frame());
  SendMessageW(app_.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(app_.Handle()));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(app_.Handle(), &placement);
  EXPECT_EQ(placement.rcNormalPosition.left, main.Left);
  EXPECT_EQ(placement.rcNormalPosition.top, main.Top);
  EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, main.Width());
}

TEST_F(Commands, ReloadingReplacesTheTree) {
  const TempDir dir;
  TreeView& tree = *Mw().ElementTree;
  LoadWlFile(Mw(), WritePageFile(dir, "big.wl6", 600));
  EXPECT_EQ(tree.Count(), 604);
  LoadWlFile(Mw(), WritePageFile(dir, "small.wl6", 0));
  EXPECT_EQ(tree.Count(), 4);
  EXPECT_EQ(NodeCaption(tree, RootItem), "small.wl6");
  EXPECT_EQ(tree.FirstChild(TextureItem), nullptr);
  EXPECT_EQ(tree.FirstChild(UnknownItem), nullptr);
}

}  // namespace
