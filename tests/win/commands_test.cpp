// The menu bar, the open dialog driven for real through Ctrl+O and the menu,
// the About box through its menu item and the ways out of the program (Alt+X
// is the black-box test's).
#include <vector>

#include "base/unicode_win.h"
#include "tempdir.h"
#include "ui/elementtree_win.h"
#include "ui/openfile_win.h"
#include "ui_support.h"

namespace {

using Strings = std::vector<std::string>;

// A menu's items, "-" for a separator.
Strings ItemsOf(HMENU menu) {
  Strings items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
    items.push_back(info.fType & MFT_SEPARATOR ? "-" : Narrow(text));
  }
  return items;
}

// The dialog's own controls: the file name and the file type list.
constexpr int FileNameBox = 0x47c;   // cmb13
constexpr int FileNameEdit = 0x480;  // edt1
constexpr int FileTypeList = 0x470;  // cmb1

HWND FileNameOf(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, FileNameBox);
  return combo && IsWindowVisible(combo) ? combo : GetDlgItem(dialog, FileNameEdit);
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

void Cancel(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }

// What a click on item `item` of the menu bar's menu `menu` sends.
WPARAM MenuItem(HWND frame, int menu, int item) {
  return GetMenuItemID(GetSubMenu(GetMenu(frame), menu), item);
}

using Commands = MainWindowTest;

TEST_F(Commands, MenuBarShowsFileAndHelpWithTheirItems) {
  const HMENU bar = GetMenu(Frame());
  EXPECT_EQ(ItemsOf(bar), (Strings{"&Файл", "&Справка"}));
  EXPECT_EQ(ItemsOf(GetSubMenu(bar, 0)), (Strings{"&Открыть...\tCtrl+O", "-", "&Выход\tAlt+X"}));
  EXPECT_EQ(ItemsOf(GetSubMenu(bar, 1)), (Strings{"&О программе..."}));
}

TEST_F(Commands, MenuTitlesAndUnknownIdentifiersDoNothing) {
  for (WPARAM id : {4096, 4099, 4101, 0}) SendMessageW(Frame(), WM_COMMAND, id, 0);
  EXPECT_TRUE(Pump());
  EXPECT_TRUE(IsWindowVisible(Frame()));
}

TEST_F(Commands, CtrlOInTheTreeOpensTheDialogWhichCancelsQuietly) {
  SetFocus(Mw().ElementTree->Handle());
  ASSERT_EQ(GetFocus(), Mw().ElementTree->Handle());
  WhenDialogShows([&](HWND dialog) {
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), Frame());
    const HWND types = GetDlgItem(dialog, FileTypeList);
    EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(types, CB_GETCURSEL, 0, 0), 0);
    wchar_t first[256] = {};
    SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(Narrow(first), "vswap.wl6 (*.wl6)");
    Cancel(dialog);
  });
  TypeKeys({VK_CONTROL, 'O'});
  ASSERT_TRUE(PumpUntil(DialogWasHandled));
  EXPECT_EQ(Mw().ElementTree->Count(), 0);
  EXPECT_EQ(Mw().PageFileDialog->FileName, "");
  EXPECT_EQ(Mw().PageFileDialog->FilterIndex, 0);
  EXPECT_TRUE(Pump());
}

TEST_F(Commands, OpeningAFileOfAnyNameBuildsTheTreeAndRemembersTheChoice) {
  const TempDir dir;
  const std::string name = "Вольф 3D ★ vswap.wl1";
  const std::string path = WriteSmallPageFile(dir, name, 110);

  WhenDialogShows([&](HWND dialog) { Choose(dialog, path, 1); });
  SendMessageW(Frame(), WM_COMMAND, MenuItem(Frame(), 0, 0), 0);
  ASSERT_TRUE(DialogWasHandled());
  OpenDialog& dialog = *Mw().PageFileDialog;
  EXPECT_EQ(dialog.FilterIndex, 2);
  EXPECT_EQ(dialog.FileName, path);
  TreeView& tree = *Mw().ElementTree;
  EXPECT_EQ(tree.Count(), 114);
  EXPECT_EQ(NodeCaption(tree, RootItem), name);

  // The next dialog starts with the chosen file and file type; a cancel then
  // empties the name but keeps the type, and leaves the tree alone.
  WhenDialogShows([&](HWND d) {
    EXPECT_EQ(SendMessageW(GetDlgItem(d, FileTypeList), CB_GETCURSEL, 0, 0), 1);
    EXPECT_NE(TextOf(FileNameOf(d)).find(name), std::string::npos);
    Cancel(d);
  });
  SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(MenuItem(Frame(), 0, 0), 1), 0);
  ASSERT_TRUE(DialogWasHandled());
  EXPECT_EQ(dialog.FileName, "");
  EXPECT_EQ(dialog.FilterIndex, 2);
  EXPECT_EQ(tree.Count(), 114);
}

TEST_F(Commands, ExitPostsCloseAndTheEndRunsTheDestroyHandler) {
  const TempDir dir;
  LoadWlFile(Mw(), WriteSmallPageFile(dir, "vswap.wl6", 5));
  ASSERT_EQ(WlFile.Chunks.size(), 5u);
  SendMessageW(Frame(), WM_COMMAND, MenuItem(Frame(), 0, 2), 0);
  // The command only posts WM_CLOSE, which ends the loop: the window is
  // still there.
  EXPECT_TRUE(IsWindowVisible(Frame()));
  EXPECT_FALSE(Pump());
  const HWND frame = Frame();
  EXPECT_TRUE(IsWindow(frame));
  app_.Destroy();
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(MainWindow, nullptr);
  EXPECT_FALSE(BackgroundBitmap);
  EXPECT_TRUE(WlFile.Chunks.empty());
}

TEST_F(Commands, EndOfSessionTearsEverythingDownAtOnce) {
  const HWND frame = Frame();
  SendMessageW(frame, WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(IsWindow(frame));
  SendMessageW(frame, WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(IsWindow(app_.Handle()));
  EXPECT_FALSE(Pump());
}

TEST_F(Commands, AboutShowsTheSystemAboutBoxOwnedByTheApplicationWindow) {
  // Wine's About box takes the whole argument as the program's name.
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  WhenDialogShows([&](HWND dialog) {
    EXPECT_EQ(TextOf(dialog), wine ? "About О программе ''#О программе ''" : "О программе ''");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), app_.Handle());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(Frame(), WM_COMMAND, MenuItem(Frame(), 1, 0), 0);
  ASSERT_TRUE(DialogWasHandled());
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

}  // namespace
