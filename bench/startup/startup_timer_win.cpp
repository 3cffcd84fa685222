// Times program starts: from creating the process until its main window is
// on the screen, fully painted, and its message loop answers. (Wine's
// WaitForInputIdle returns before such a program has even reached WinMain,
// so the timer watches for these signs itself.)
//   startup_timer RUNS PROGRAM...
// Starts the programs in turns, RUNS times each after one start to warm the
// caches, ends each start as soon as it is timed, and prints each program's
// median in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {
double Milliseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// The top-level windows of the program's thread. (Asking the thread, rather
// than going through every window on the desktop, keeps the timer's own
// requests to the window system few: they compete with the program's.)
std::vector<HWND> WindowsOf(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Its first top-level window that is visible and has an area: the main
// window. (A program may keep a visible window of no size, for its taskbar
// button, before it shows the main one.)
HWND MainWindowOf(DWORD thread) {
  for (const HWND window : WindowsOf(thread)) {
    RECT r;
    if (IsWindowVisible(window) && GetWindowRect(window, &r) && r.right > r.left && r.bottom > r.top)
      return window;
  }
  return nullptr;
}

BOOL CALLBACK FindUnpainted(HWND child, LPARAM context) {
  if (!GetUpdateRect(child, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(context) = true;
  return FALSE;
}

// Whether any window of the thread, or any window inside one, still waits
// to be painted.
bool PaintPending(DWORD thread) {
  for (const HWND window : WindowsOf(thread)) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    bool pending = false;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&pending));
    if (pending) return true;
  }
  return false;
}

// Idle: shown, nothing left to paint, and a message sent to the window is
// answered, so the program is back in its message loop with nothing left to
// paint. Checks come a millisecond apart, so that the timer leaves the
// machine to the program.
bool WaitUntilIdle(const PROCESS_INFORMATION& process, double deadline) {
  const DWORD thread = process.dwThreadId;
  HWND window = nullptr;
  for (;;) {
    if (Milliseconds() > deadline || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return false;
    if (!window) window = MainWindowOf(thread);
    if (window && !PaintPending(thread)) {
      DWORD_PTR ignored = 0;
      if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) return false;
      if (!PaintPending(thread)) return true;
    }
    Sleep(1);
  }
}

// One start; a negative time if the program did not start or never went idle.
double TimeStart(const wchar_t* program) {
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double begin = Milliseconds();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  const bool idle = WaitUntilIdle(process, begin + 30000);
  const double elapsed = Milliseconds() - begin;
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return idle ? elapsed : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_timer RUNS PROGRAM...\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const int programs = argc - 2;
  std::vector<std::vector<double>> times(static_cast<size_t>(programs));
  for (int round = -1; round < runs; ++round) {
    for (int p = 0; p < programs; ++p) {
      const double t = TimeStart(argv[2 + p]);
      if (t < 0) {
        std::fprintf(stderr, "startup_timer: %ls did not start and go idle\n", argv[2 + p]);
        return 1;
      }
      if (round >= 0) times[static_cast<size_t>(p)].push_back(t);
    }
  }
  for (int p = 0; p < programs; ++p)
    std::printf("%.1f %ls\n", Median(times[static_cast<size_t>(p)]), argv[2 + p]);
  return 0;
}
