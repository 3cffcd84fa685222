// The About box: the system's standard About dialog with the program's texts
// and icon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

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

// Shows the About box, owned by the application window; returns when the user
// has closed it.
void ShowAboutBox(const RAboutBox& box);
