#include "base/unicode_win.h"
#include "winlayer/systemdll_win.h"
#include "winlayer/winlayer_win.h"

namespace {
// Room for the longest path the system accepts.
constexpr size_t FileNameCapacity = 32768;

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }
}  // namespace

bool OpenDialog::Execute() {
  // Pairs separated by "|" become the NUL-separated list the system wants,
  // ended by an empty string.
  std::wstring filter = Widen(Filter);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.append(2, L'\0');

  std::vector<wchar_t> file(FileNameCapacity, L'\0');
  const std::wstring current = Widen(FileName);
  current.copy(file.data(), std::min(current.size(), FileNameCapacity - 1));

  const std::wstring initialDir = Widen(InitialDir);
  const std::wstring title = Widen(Title);
  const std::wstring defaultExt = Widen(DefaultExt);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Owner ? Owner : fallbackOwner_;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(FilterIndex);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = OrNull(initialDir);
  dialog.lpstrTitle = OrNull(title);
  dialog.Flags = Options | OFN_EXPLORER | OFN_LONGNAMES;
  dialog.lpstrDefExt = defaultExt.c_str();
  dialog.lCustData = reinterpret_cast<LPARAM>(this);

  const auto show = SystemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!show || !show(&dialog)) {
    FileName.clear();
    return false;
  }
  FilterIndex = static_cast<int32_t>(dialog.nFilterIndex);
  FileName = Narrow(file.data());
  return true;
}
