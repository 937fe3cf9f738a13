#include "panel/shadow_window_win.h"

#include <new>

#include "panel/panel_windows_win.h"
#include "panel/top_level_styles_win.h"

bool ShadowWindow::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kShadowClassName, 0, &Procedure, nullptr);
}

std::unique_ptr<ShadowWindow> ShadowWindow::Create(HINSTANCE instance, HWND panel, CapturePolicy policy) {
  UniqueWindow window(CreateWindowExW(kLayeredOverlayExStyle, kShadowClassName, L"", WS_POPUP, 0, 0, 1, 1,
                                      panel, nullptr, instance, nullptr));
  if (!KeepOnlyIfHidden(window, policy)) return nullptr;
  return std::unique_ptr<ShadowWindow>(new (std::nothrow) ShadowWindow(std::move(window)));
}

void ShadowWindow::Update(HWND panel, bool panelShown) {
  if (!panelShown) {
    ShowWindow(window_.get(), SW_HIDE);
    return;
  }
  RECT rect{};
  GetWindowRect(panel, &rect);
  SetWindowPos(window_.get(), nullptr, rect.left - margin_, rect.top - margin_, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CALLBACK ShadowWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(window, message, wParam, lParam);  // drawn with UpdateLayeredWindow; no messages of its own
}
