#include "app/startup_win.h"

#include <cstdio>

#include "panel/window/panel_controls.h"
#include "panel/window/tutor_panel_win.h"

namespace {

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
    if (focus != GetDlgItem(main, control_id::QuestionBox) && focus != GetDlgItem(main, control_id::SignInField)) {
      panel.CopyAnswer();
      return true;
    }
    return false;
  }
  if ((keyDown && msg.wParam == VK_APPS) || (msg.wParam == VK_F10 && KeyDown(VK_SHIFT))) {
    panel.ShowContextMenu({-1, -1});
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

int RunMessageLoop(TutorPanel& panel, GetMessageFn getMessage) {
  MSG msg{};
  BOOL got;
  while ((got = getMessage(&msg, nullptr, 0, 0)) > 0) {
    if (HandlePanelShortcut(panel, msg)) continue;
    HWND main = panel.mainWindow();
    if (main && !panel.view().state().stealth && IsDialogMessageW(main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (got == 0) return 0;
  // No more messages can be had: shut down as the panel's own Close would, so that no window is
  // left pointing at a panel that the caller is about to free.
  if (HWND main = panel.mainWindow()) DestroyWindow(main);
  return 1;
}
