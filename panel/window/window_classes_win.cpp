#include "panel/window/window_classes_win.h"

#include "panel/stealth/shadow_window_win.h"
#include "panel/snip/snip_overlay_win.h"
#include "panel/stealth/strip_window_win.h"
#include "panel/window/tutor_panel_win.h"

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC procedure,
                         const wchar_t* cursor) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.style = style;
  cls.lpfnWndProc = procedure;
  cls.hInstance = instance;
  cls.hCursor = cursor ? LoadCursorW(nullptr, cursor) : nullptr;
  cls.lpszClassName = name;
  return RegisterClassExW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool RegisterWindowClasses(HINSTANCE instance) {
  if (!TutorPanel::Register(instance)) return false;
  ShadowWindow::Register(instance);
  StripWindow::Register(instance);
  SnipOverlay::Register(instance);
  return true;
}
