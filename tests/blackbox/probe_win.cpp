// The black-box tests' hands and eyes on the Windows side, where the shell,
// the registry and the program's windows are:
//   probe view            what the running viewer shows: its tree's node count,
//                         labels and windows
//   probe run EXE TAIL    starts EXE with the exact command line "EXE" TAIL
//   probe shellopen PATH  opens PATH through the shell, as a double click does
//   probe close           closes the viewer's main window
//   probe minimise        minimises and restores the viewer from its taskbar button
//   probe regvalue KEY    the default value of HKEY_CLASSES_ROOT\KEY
//   probe record LOG ARG  appends how it was started and ARG to LOG (a
//                         stand-in for the mail program and the browser)
// `run` and `shellopen` wait for the program and return its exit code.
// Output is UTF-8, one fact per line.
#include <windows.h>
// Keep this order: these need the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/unicode_win.h"
#include "base/version.h"

namespace {

// The viewer's caption: its product name and version.
const std::wstring MainCaption = Widen(std::string("Tessarine V") + TessarineVersion);

void Print(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Narrow(name);
}

HWND MainWindow() { return FindWindowW(nullptr, MainCaption.c_str()); }

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

struct Descendants {
  HWND tree = nullptr;
  std::vector<HWND> statics;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
  auto& d = *reinterpret_cast<Descendants*>(found);
  const std::string cls = ClassOf(child);
  if (cls == "SysTreeView32") d.tree = child;
  if (cls == "Static") d.statics.push_back(child);
  return TRUE;
}

// Prints the visible top-level windows of the process `pid` points at.
BOOL CALLBACK PrintTopLevel(HWND window, LPARAM pid) {
  if (IsWindowVisible(window) && ProcessOf(window) == *reinterpret_cast<DWORD*>(pid))
    Print("window " + ClassOf(window) + " " + TextOf(window));
  return TRUE;
}

int View() {
  const HWND main = MainWindow();
  if (!main) {
    Print("none");
    return 1;
  }
  Descendants d;
  EnumChildWindows(main, CollectChild, reinterpret_cast<LPARAM>(&d));
  if (d.tree) Print("tree " + std::to_string(SendMessageW(d.tree, TVM_GETCOUNT, 0, 0)));
  for (HWND label : d.statics) {
    const std::string text = TextOf(label);
    if (text.find_first_not_of(' ') == std::string::npos) continue;
    RECT r{};
    GetWindowRect(label, &r);
    Print("label " + std::to_string(IsWindowVisible(label) ? 1 : 0) + " " + std::to_string(r.left) + " " +
          std::to_string(r.top) + " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + " " +
          text);
  }
  DWORD pid = ProcessOf(main);
  EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&pid));
  return 0;
}

int Wait(HANDLE process) {
  WaitForSingleObject(process, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return static_cast<int>(code);
}

int Run(const std::wstring& exe, const std::wstring& tail) {
  std::wstring line = L"\"" + exe + L"\" " + tail;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return 100;
  CloseHandle(info.hThread);
  return Wait(info.hProcess);
}

int ShellOpen(const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = path.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || !info.hProcess) return 100;
  return Wait(info.hProcess);
}

int Close() {
  const HWND main = MainWindow();
  return main && PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
}

// Whether the main window is visible or minimised between the steps.
std::string StateOf(HWND window) {
  if (!IsWindowVisible(window)) return "hidden";
  return IsIconic(window) ? "iconic" : "normal";
}

int Minimise() {
  const HWND main = MainWindow();
  const HWND app = FindWindowW(nullptr, L"tessarine");
  if (!main || !app) return 1;
  SendMessageW(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  const std::string minimised = StateOf(main);
  SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
  Print(minimised + " " + StateOf(main));
  return 0;
}

int RegValue(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    Print("missing");
    return 0;
  }
  DWORD type = 0;
  DWORD bytes = 0;
  std::string line = "novalue";
  if (RegQueryValueExW(handle, nullptr, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS) {
    std::vector<BYTE> data(bytes + sizeof(wchar_t));
    RegQueryValueExW(handle, nullptr, nullptr, &type, data.data(), &bytes);
    const std::string kind = type == REG_SZ ? "REG_SZ" : std::to_string(type);
    line = kind + " " + std::to_string(bytes) + " " + Narrow(reinterpret_cast<const wchar_t*>(data.data()));
  }
  RegCloseKey(handle);
  Print(line);
  return 0;
}

int Record(const std::wstring& log, const std::wstring& argument) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  const int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
  const std::string line = "show=" + std::to_string(show) + " " + Narrow(argument) + "\n";
  const HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::vector<std::wstring> args(argv, argv + count);
  LocalFree(argv);
  const std::wstring command = count > 1 ? args[1] : L"";
  if (command == L"view" && count == 2) return View();
  if (command == L"run" && count == 4) return Run(args[2], args[3]);
  if (command == L"shellopen" && count == 3) return ShellOpen(args[2]);
  if (command == L"close" && count == 2) return Close();
  if (command == L"minimise" && count == 2) return Minimise();
  if (command == L"regvalue" && count == 3) return RegValue(args[2]);
  if (command == L"record" && count == 4) return Record(args[2], args[3]);
  Print("usage: probe view|run EXE TAIL|shellopen PATH|close|minimise|regvalue KEY|record LOG ARG");
  return 2;
}
