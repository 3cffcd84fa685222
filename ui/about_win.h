// What the program tells about itself: the start view of the info panel
// with its two links to the author, and the About box, the system's
// standard About dialog with the program's texts and icon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "winlayer/winlayer_win.h"

struct RMainWindow;

// The author the start view links to.
inline constexpr char AuthorName[] = "Ada Brightoak";
inline constexpr char AuthorMailTarget[] = "mailto:ada@brightoak.example";
// Shown as it is opened.
inline constexpr char WebAddress[] = "http://brightoak.example/";

struct RAboutBox {
  RAboutBox() = default;
  RAboutBox(const RAboutBox&) = delete;
  RAboutBox& operator=(const RAboutBox&) = delete;
  ~RAboutBox() {
    if (IconHandle) DestroyIcon(IconHandle);
  }

  std::string LineText;        // the dialog's first line
  std::string OtherText;       // its additional text
  std::string TitleText;       // its title
  HICON IconHandle = nullptr;  // owned
  // 0 the system's default icon, 1 the application's icon, 2 IconHandle.
  uint8_t IconKind = 0;
};

// The texts and icon the main window gives its About box.
void ConfigureAboutBox(RAboutBox& box);

// Shows the About box, owned by `application` (the program's window, if it
// has one), with its icon for IconKind 1; returns when the user has closed it.
void ShowAboutBox(const RAboutBox& box, const ApplicationWindow* application);

// Fills the info panel with the product name, the version and the two links;
// the header shows the program's icon while nothing is selected.
void ShowStartView(RMainWindow& mainWindow);

// The links' click handlers: the mail program for the author, the browser
// for the web page. A target nobody handles passes silently.
void OpenAuthorLink(RMainWindow& mainWindow, Label& link);
void OpenWebLink(RMainWindow& mainWindow, Label& link);

// The links' hover: blue under the pointer, black once it has left.
void LinkEntered(RMainWindow& mainWindow, Label& link);
void LinkLeft(RMainWindow& mainWindow, Label& link);
