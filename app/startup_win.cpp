#include "app/startup_win.h"

#include <cstdio>

#include "panel/panel_controls.h"
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

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool IsPanelMessage(const MSG& msg, HWND panel) {
  return panel && (msg.hwnd == panel || IsChild(panel, msg.hwnd));
}

// The three shortcuts of the panel itself. Returns true when the message was consumed.
bool HandlePanelShortcut(TutorPanel& panel, const MSG& msg) {
  HWND main = panel.mainWindow();
  bool keyDown = msg.message == WM_KEYDOWN;
  // F10 always arrives as a system key, so Shift+F10 is looked for there too.
  bool sysKeyDown = msg.message == WM_SYSKEYDOWN;
  if ((!keyDown && !sysKeyDown) || !IsPanelMessage(msg, main)) return false;
  if (keyDown && msg.wParam == VK_ESCAPE) {
    DestroyWindow(main);
    return true;
  }
  if (keyDown && msg.wParam == 'C' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
    HWND focus = GetFocus();
    if (focus != panel.control(control_id::QuestionBox) &&
        focus != panel.control(control_id::SignInField)) {
      panel.CopyAnswer();
      return true;
    }
    return false;
  }
  if ((keyDown && msg.wParam == VK_APPS) || (msg.wParam == VK_F10 && KeyDown(VK_SHIFT))) {
    panel.OpenContextMenu(-1, -1);
    return true;
  }
  return false;
}
}  // namespace

void AttachParentConsole() {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}

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

int RunMessageLoop(TutorPanel& panel) {
  MSG msg{};
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (HandlePanelShortcut(panel, msg)) continue;
    HWND main = panel.mainWindow();
    if (main && !panel.stealth() && IsDialogMessageW(main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return got < 0 ? 1 : 0;
}
