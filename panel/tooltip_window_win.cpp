#include "panel/tooltip_window_win.h"

#include <commctrl.h>

#include <new>

std::unique_ptr<TooltipWindow> TooltipWindow::Create(HINSTANCE instance, HWND panel, CapturePolicy policy) {
  UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, panel, nullptr,
                                      instance, nullptr));
  if (!KeepOnlyIfHidden(window, policy)) return nullptr;
  return std::unique_ptr<TooltipWindow>(new (std::nothrow) TooltipWindow(std::move(window)));
}
