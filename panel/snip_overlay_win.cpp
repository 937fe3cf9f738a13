#include "panel/snip_overlay_win.h"

#include <new>

#include "panel/panel_windows_win.h"
#include "panel/procedure_guard.h"

bool SnipOverlay::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kSnipClassName, 0, &Procedure, IDC_CROSS);
}

std::unique_ptr<SnipOverlay> SnipOverlay::Create(HINSTANCE instance, HWND panel, const PixelRect& desktop,
                                                 CapturePolicy policy) {
  std::unique_ptr<SnipOverlay> overlay(new (std::nothrow) SnipOverlay(desktop));
  if (!overlay) return nullptr;
  overlay->window_.reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSnipClassName, L"",
                                         WS_POPUP, desktop.left, desktop.top, desktop.Width(), desktop.Height(),
                                         panel, nullptr, instance, overlay.get()));
  if (!KeepOnlyIfHidden(overlay->window_, policy)) return nullptr;
  return overlay;
}

SnipOverlay::~SnipOverlay() {
  // Messages sent while the window goes away no longer reach this object.
  if (HWND window = window_.get()) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK SnipOverlay::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  SnipOverlay* overlay = nullptr;
  if (message == WM_NCCREATE) {
    overlay = static_cast<SnipOverlay*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(overlay));
  } else {
    overlay = reinterpret_cast<SnipOverlay*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!overlay) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return overlay->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    LogCaughtInWindowProcedure();
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT SnipOverlay::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Dragging, drawing and finishing the selection come with the snip itself.
  return DefWindowProcW(window, message, wParam, lParam);
}
