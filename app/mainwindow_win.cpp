#include "app/mainwindow_win.h"

#include <vector>

#include "app/commands_win.h"
#include "app/globals_win.h"
#include "base/codepage.h"
#include "base/version.h"
#include "imaging/bmptemplate.h"
#include "nodetext/nodetext.h"
#include "shell/association.h"
#include "shell/openargument_win.h"
#include "ui/about_win.h"
#include "ui/elementtree_win.h"
#include "ui/infopanel_win.h"
#include "ui/preview_win.h"
#include "ui/texts.h"

namespace {
constexpr char PageFileFilter[] = "vswap.wl6 (*.wl6)|*.wl6|vswap.wl1 (*.wl1)|*.wl1";

// The main window's font, which its controls copy. The tree's captions are
// Russian: asking for the Cyrillic character set keeps them readable on any
// system, where ANSI_CHARSET meant Cyrillic only on a Russian one.
FontStyle MainFont() {
  return {
      .Face = L"MS Sans Serif", .Height = 11, .CharSet = RUSSIAN_CHARSET, .Color = ColorValue::Rgb(0, 0, 0)};
}

FontStyle LabelFont(const FontStyle& panelFont, const wchar_t* face, int32_t charHeight, bool bold) {
  FontStyle font = panelFont;
  font.Face = face;
  font.Height = -charHeight;
  font.Bold = bold;
  return font;
}

Label* AddLabel(PaintBox& panel, const Rect& bounds, int spaces, const FontStyle& font) {
  return Label::CreateIn(
      panel, {.Bounds = bounds, .Text = std::string(static_cast<size_t>(spaces), ' '), .Font = font});
}

// The nine labels of the info panel, in the order they are made: later ones
// lie over earlier ones where they overlap. False if one cannot be made.
bool AddInfoLabels(RMainWindow& mw) {
  PaintBox& panel = *mw.InfoPanel;
  const FontStyle caption = LabelFont(panel.Font(), L"Arial", 16, true);
  const FontStyle title = LabelFont(panel.Font(), L"Arial", 12, true);
  const FontStyle line = LabelFont(panel.Font(), L"MS Sans Serif", 11, false);
  mw.WebLink = AddLabel(panel, RectAt(72, 116, 121, 17), 8, line);
  mw.TitleLabel = AddLabel(panel, RectAt(14, 81, 203, 20), 7, title);
  mw.InfoLine1 = AddLabel(panel, RectAt(16, 100, 201, 17), 8, line);
  mw.InfoLine2 = AddLabel(panel, RectAt(16, 116, 201, 17), 7, line);
  mw.CaptionLabel = AddLabel(panel, RectAt(10, 52, 207, 25), 10, caption);
  mw.InfoLine4 = AddLabel(panel, RectAt(16, 148, 201, 17), 7, line);
  mw.InfoLine5 = AddLabel(panel, RectAt(16, 164, 201, 17), 7, line);
  mw.AuthorLink = AddLabel(panel, RectAt(72, 100, 121, 17), 8, line);
  mw.InfoLine3 = AddLabel(panel, RectAt(16, 132, 201, 17), 7, line);
  for (const Label* label : {mw.WebLink, mw.TitleLabel, mw.InfoLine1, mw.InfoLine2, mw.CaptionLabel,
                             mw.InfoLine4, mw.InfoLine5, mw.AuthorLink, mw.InfoLine3})
    if (!label) return false;
  for (Label* link : {mw.WebLink, mw.AuthorLink}) {
    link->SetHandCursor(true);
    // The links cover the right part of the first two fact lines.
    link->BringToTop();
    link->Enter = [&mw](Label& l) { LinkEntered(mw, l); };
    link->Leave = [&mw](Label& l) { LinkLeft(mw, l); };
  }
  mw.WebLink->Click = [&mw](Label& l) { OpenWebLink(mw, l); };
  mw.AuthorLink->Click = [&mw](Label& l) { OpenAuthorLink(mw, l); };
  return true;
}

// The File and Help menus, in the menu template's form.
std::vector<std::string> MenuBarItems() {
  return {Cp1251ToUtf8(MenuFile),
          "(",
          Cp1251ToUtf8(MenuOpen),
          "-",
          Cp1251ToUtf8(MenuExit),
          ")",
          Cp1251ToUtf8(MenuHelpTitle),
          "(",
          Cp1251ToUtf8(MenuAbout),
          ")",
          ""};
}

// Binds the menu bar's commands and accelerators.
void AddMenuBar(RMainWindow& mw) {
  Menu& menu = *mw.Frame->MenuBar();
  mw.MenuBar = &menu;
  menu.BindItem(1, [&mw](Menu& m, int32_t item) { OpenCommand(mw, m, item); });
  menu.BindItem(2, [&mw](Menu& m, int32_t item) { ExitCommand(mw, m, item); });
  menu.BindItem(4, [&mw](Menu& m, int32_t item) { AboutCommand(mw, m, item); });
  menu.SetAccelerator(1, FVIRTKEY | FCONTROL, 'O');
  menu.SetAccelerator(2, FVIRTKEY | FALT, 'X');
}
}  // namespace

bool CreateAppWindow(ApplicationWindow& application) {
  if (!application.Create("tessarine", L"MAINICO")) return false;
  application.TrimSystemMenu();
  AppWindow = &application;
  return true;
}

bool BuildMainWindow(RMainWindow*& mainWindow, ApplicationWindow& application) {
  auto record = std::make_unique<RMainWindow>();
  RMainWindow& mw = *record;
  // Made centred on the screen at its outer size, rather than moved there
  // once built.
  const Rect bounds = RectAt(CentredStart(GetSystemMetrics(SM_CXSCREEN), MainWindowWidth),
                             CentredStart(GetSystemMetrics(SM_CYSCREEN), MainWindowHeight), MainWindowWidth,
                             MainWindowHeight);
  const std::vector<std::string> menuItems = MenuBarItems();
  TopWindow* const made = application.CreateMainWindow(
      {.Caption = "S", .Bounds = bounds, .Font = MainFont(), .MenuItems = menuItems, .Icon = L"MAINICO"});
  if (!made) return false;
  TopWindow& frame = *made;
  mw.Frame = &frame;
  mainWindow = &frame.FreeWithWindow(std::move(record));
  frame.Shown = [&mw](TopWindow& f) { OpenArgumentFile(mw, f); };
  frame.Destroyed = [&mw](TopWindow&) { DestroyMainWindow(mw); };

  AddMenuBar(mw);

  mw.PageFileDialog = &frame.FreeWithWindow(std::make_unique<OpenDialog>(application.Handle()));
  mw.PageFileDialog->Filter = PageFileFilter;

  mw.AboutBox = &frame.FreeWithWindow(std::make_unique<RAboutBox>());
  ConfigureAboutBox(*mw.AboutBox);

  mw.TopBar = Panel::CreateIn(
      frame, {.Alignment = Align::Top, .Bounds = RectAt(0, 0, 0, 65), .Margin = 2, .RaisedEdge = true});
  mw.ContentPanel = Panel::CreateIn(frame, {.Alignment = Align::Client, .Margin = 2, .RaisedEdge = true});
  if (!mw.TopBar || !mw.ContentPanel) return false;
  mw.ViewArea = Panel::CreateIn(*mw.ContentPanel,
                                {.Alignment = Align::Client, .Color = ColorValue::Rgb(255, 255, 255)});
  if (!mw.ViewArea) return false;

  FontStyle infoFont = mw.ViewArea->Font();
  infoFont.Color = ColorValue::System(COLOR_WINDOWTEXT);
  infoFont.Height = 0;
  mw.InfoPanel = PaintBox::CreateIn(
      *mw.ViewArea,
      {.Alignment = Align::Left, .Bounds = RectAt(0, 0, 233, 0), .Margin = 2, .Font = infoFont});
  if (!mw.InfoPanel) return false;
  mw.InfoPanel->Paint = [&mw](PaintBox& panel, HDC dc) { PaintInfoPanel(mw, panel, dc); };
  if (!AddInfoLabels(mw)) return false;
  mw.InfoSplitter = Splitter::CreateIn(*mw.ViewArea, {});
  mw.PreviewPane = PaintBox::CreateIn(*mw.ViewArea, {.Alignment = Align::Client, .Margin = 2});
  if (!mw.InfoSplitter || !mw.PreviewPane) return false;
  PaintBox& pane = *mw.PreviewPane;
  pane.MouseDown = [&mw](PaintBox& p, MouseButton b, int32_t x, int32_t y) {
    PreviewMouseDown(mw, p, b, x, y);
  };
  pane.MouseMove = [&mw](PaintBox& p, int32_t x, int32_t y) { PreviewMouseMove(mw, p, x, y); };
  pane.MouseUp = [&mw](PaintBox& p, MouseButton b, int32_t x, int32_t y) { PreviewMouseUp(mw, p, b, x, y); };
  pane.Paint = [&mw](PaintBox& p, HDC dc) { PaintPreview(mw, p, dc); };

  mw.ElementTree = TreeView::CreateIn(
      *mw.ContentPanel,
      {.Alignment = Align::Left, .Bounds = RectAt(0, 0, 161, 0), .Color = ColorValue::System(COLOR_WINDOW)});
  if (!mw.ElementTree) return false;
  mw.ElementTree->SelectionChanging = [&mw](TreeView& tree, HTREEITEM oldItem, HTREEITEM newItem) {
    ShowNodeInfo(mw, tree, oldItem, newItem);
  };
  mw.TreeSplitter = Splitter::CreateIn(*mw.ContentPanel, {});
  if (!mw.TreeSplitter) return false;

  mw.PageFileDialog->Owner = frame.Handle();
  InitMainWindow(mw);
  // Minimising from the taskbar button starts at the main window: the
  // application window does that for the main window it owns.
  return true;
}

void InitMainWindow(RMainWindow& mw) {
  mw.VersionText = TessarineVersion;
  mw.ProductName = "Tessarine";
  mw.Frame->SetText(mw.ProductName + " V" + mw.VersionText);
  CreateImageLists(*mw.ElementTree);
  ZoomState.ZoomStep = 0.05;
  ArgumentPending = true;
  BackgroundBitmap = std::make_unique<DeviceBitmap>();
  BackgroundBitmap->LoadResource(L"BackG");
  InitBmpTemplate();
  SelectedKind = NoNode;
  ShowStartView(mw);
  ZoomState.Zoom = 1.0;
  RegisterFileType();
}

void DestroyMainWindow(RMainWindow&) {
  BackgroundBitmap.reset();
  FreeWlFile(WlFile);
}
