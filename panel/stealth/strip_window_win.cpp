#include "panel/stealth/strip_window_win.h"

#include <new>

#include "panel/window/window_classes_win.h"
#include "panel/window/top_level_styles_win.h"

bool StripWindow::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kStealthClassName, 0, &Procedure, nullptr);
}

std::unique_ptr<StripWindow> StripWindow::Create(HINSTANCE instance, CapturePolicy policy) {
  UniqueWindow window(CreateWindowExW(kLayeredOverlayExStyle, kStealthClassName, L"", WS_POPUP, 0, 0, 1, 1,
                                      nullptr, nullptr, instance, nullptr));
  if (!KeepOnlyIfHidden(window, policy)) return nullptr;
  auto strip = std::unique_ptr<StripWindow>(new (std::nothrow) StripWindow(std::move(window)));
  if (!strip) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return strip;
}

void StripWindow::Place(const PixelRect& rect, bool show) {
  SetWindowPos(window_.get(), HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
               SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

LRESULT CALLBACK StripWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(window, message, wParam, lParam);  // drawn with UpdateLayeredWindow; no messages of its own
}
