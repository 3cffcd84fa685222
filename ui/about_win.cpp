#include "ui/about_win.h"

#include <shellapi.h>

#include "base/codepage.h"
#include "base/unicode_win.h"
#include "ui/texts.h"
#include "ui/viewer_win.h"
#include "winlayer/systemdll_win.h"

namespace {
void OpenTarget(const std::string& target) {
  // Shown normally: a hidden start would leave the user a mail program or a
  // browser that never appears.
  if (const auto open = SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW"))
    open(nullptr, nullptr, Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
}  // namespace

void ConfigureAboutBox(RAboutBox& box) {
  box.LineText = Cp1251ToUtf8(AboutTitle);
  box.OtherText = "VSWAP graphics viewer by Ada Brightoak";
  box.TitleText = Cp1251ToUtf8(AboutTitle);
  box.IconKind = 1;
}

void ShowAboutBox(const RAboutBox& box, const ApplicationWindow* application) {
  const HWND owner = application ? application->Handle() : nullptr;
  HICON icon = nullptr;
  if (box.IconKind == 1 && application) icon = application->Icon();
  if (box.IconKind == 2) icon = box.IconHandle;
  // The system shows the part before "#" as the title and the rest as the
  // first line.
  if (const auto about = SystemFunction<decltype(ShellAboutW)>(L"shell32.dll", "ShellAboutW"))
    about(owner, Widen(box.TitleText + "#" + box.LineText).c_str(), Widen(box.OtherText).c_str(), icon);
}

void ShowStartView(RMainWindow& mw) {
  mw.CaptionLabel->SetText(mw.ProductName);
  mw.TitleLabel->SetText("Version: " + mw.VersionText);
  mw.InfoLine1->SetText("Author: ");
  mw.AuthorLink->SetText(AuthorName);
  mw.InfoLine2->SetText("Web Page: ");
  mw.WebLink->SetText(WebAddress);
}

void OpenAuthorLink(RMainWindow&, Label&) { OpenTarget(AuthorMailTarget); }

void OpenWebLink(RMainWindow&, Label&) { OpenTarget(WebAddress); }

void LinkEntered(RMainWindow&, Label& link) { link.SetTextColor(ColorValue::Rgb(0, 0, 255)); }

void LinkLeft(RMainWindow&, Label& link) { link.SetTextColor(ColorValue::Rgb(0, 0, 0)); }
