#include "ui/about_win.h"

#include <shellapi.h>

#include "app/globals_win.h"
#include "ui/texts.h"
#include "winlayer/codepage.h"
#include "winlayer/unicode_win.h"

void ConfigureAboutBox(RAboutBox& box) {
  box.LineText = Cp1251ToUtf8(AboutTitle);
  box.OtherText = "Tessarine shows the textures and sprites of Wolfenstein 3D page files.";
  box.TitleText = Cp1251ToUtf8(AboutTitle);
  box.IconKind = 1;
}

void ShowAboutBox(const RAboutBox& box) {
  const HWND owner = AppWindow ? AppWindow->Handle() : nullptr;
  HICON icon = nullptr;
  if (box.IconKind == 1 && AppWindow) icon = AppWindow->Icon();
  if (box.IconKind == 2) icon = box.IconHandle;
  // The system shows the part before "#" as the title and the rest as the
  // first line.
  ShellAboutW(owner, Widen(box.TitleText + "#" + box.LineText).c_str(), Widen(box.OtherText).c_str(), icon);
}
