#include "panel/panel_windows_win.h"

#include "panel/tutor_panel_win.h"

namespace {
constexpr DWORD kExcludeFromCapture = 0x00000011;  // WDA_EXCLUDEFROMCAPTURE
constexpr DWORD kLayeredOverlayStyle =
    WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_NOACTIVATE;

bool RegisterClass(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC proc,
                   const wchar_t* cursor) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.style = style;
  cls.lpfnWndProc = proc;
  cls.hInstance = instance;
  cls.hCursor = cursor ? LoadCursorW(nullptr, cursor) : nullptr;
  cls.lpszClassName = name;
  return RegisterClassExW(&cls) != 0;
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance, WNDPROC panelProc, WNDPROC snipProc) {
  if (!RegisterClass(instance, kPanelClassName, CS_DBLCLKS, panelProc, IDC_ARROW)) return false;
  RegisterClass(instance, kShadowClassName, 0, DefWindowProcW, nullptr);
  RegisterClass(instance, kStealthClassName, 0, DefWindowProcW, nullptr);
  RegisterClass(instance, kSnipClassName, 0, snipProc ? snipProc : DefWindowProcW, IDC_CROSS);
  return true;
}

HWND CreatePanelWindow(HINSTANCE instance, TutorPanel& panel) {
  return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kPanelClassName,
                         L"Tavisk", WS_POPUP, 0, 0, 388, 486, nullptr, nullptr, instance, &panel);
}

HWND CreateShadowWindow(HINSTANCE instance, HWND panel) {
  return CreateWindowExW(kLayeredOverlayStyle, kShadowClassName, L"", WS_POPUP, 0, 0, 1, 1, panel,
                         nullptr, instance, nullptr);
}

HWND CreateStripWindow(HINSTANCE instance) {
  return CreateWindowExW(kLayeredOverlayStyle, kStealthClassName, L"", WS_POPUP, 0, 0, 1, 1,
                         nullptr, nullptr, instance, nullptr);
}

bool ExcludeFromCapture(HWND window, DWORD& error) {
  if (window && SetWindowDisplayAffinity(window, kExcludeFromCapture)) return true;
  error = GetLastError();
  return false;
}

