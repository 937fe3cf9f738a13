// window-probe.exe: tells whether this Wine session's desktop can make windows.
//
// A Wine desktop that came up without its display driver refuses every window (CreateWindowExW
// returns null, error 0) for as long as it lives, whatever program asks. The scripts run this probe
// before trusting a session: it makes a hidden top-level window with a child, as the panel does, and
// exits 0 when both exist, 1 when the desktop refused them.
//
//   window-probe.exe          check once and exit
//   window-probe.exe --hold   check, then keep the desktop in use until the process is ended, so
//                             it is not closed and started again between the programs under test
//                             (prints "ready" once the check passed)
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool WindowsCanBeMade(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"VykWindowProbe";
  if (!RegisterClassExW(&windowClass)) return false;
  HWND top = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"vyk window probe", WS_POPUP, 0, 0, 16,
                             16, nullptr, nullptr, instance, nullptr);
  if (!top) {
    std::printf("window-probe: the desktop refused a top-level window (error %lu)\n", GetLastError());
    return false;
  }
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 8, 8, top, nullptr, instance, nullptr);
  const DWORD childError = GetLastError();
  DestroyWindow(top);
  if (!child) {
    std::printf("window-probe: the desktop refused a child window (error %lu)\n", childError);
    return false;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool hold = argc > 1 && std::wcscmp(argv[1], L"--hold") == 0;
  if (!WindowsCanBeMade(GetModuleHandleW(nullptr))) return 1;
  if (!hold) return 0;
  std::printf("ready\n");
  std::fflush(stdout);
  // This thread stays a user of the desktop until the process is ended.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
