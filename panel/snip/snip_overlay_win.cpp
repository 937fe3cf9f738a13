#include "panel/snip/snip_overlay_win.h"

#include <windowsx.h>

#include <gdiplus.h>

#include <new>
#include <span>

#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_fonts_win.h"
#include "panel/window/window_classes_win.h"
#include "panel/window/procedure_guard.h"
#include "panel/snip/snip_drawing.h"

bool SnipOverlay::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kSnipClassName, 0, &Procedure, IDC_CROSS);
}

SnipOverlay::SnipOverlay(const PixelRect& desktop) : session_(desktop) {}

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

bool SnipOverlay::Open() {
  HWND window = window_.get();
  if (!Render()) return false;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  return true;
}

bool SnipOverlay::Render() {
  HWND window = window_.get();
  const PixelRect& desktop = session_.desktop();
  const int width = desktop.Width(), height = desktop.Height();
  if (!window || width <= 0 || height <= 0 || !bitmap_.Ensure(width, height)) return false;
  uint32_t* bits = bitmap_.bits();
  const std::optional<PixelRect> selection = session_.Selection();
  FillSnipPixels(std::span<uint32_t>(bits, static_cast<size_t>(width) * static_cast<size_t>(height)), width, height,
                 selection);
  if (selection) {
    if (!fonts_) fonts_ = std::make_unique<GdiplusFonts>();
    Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&target);
    GdiplusCanvas canvas(graphics, *fonts_);
    DrawSnipSelection(canvas, *selection);
  }
  const POINT position{desktop.left, desktop.top};
  return bitmap_.Push(window, &position);
}

void SnipOverlay::Finish(bool accept) {
  if (finish_) {
    finish_(accept);  // may destroy this object: nothing of it is touched after
  } else {
    session_.Finish(false);
  }
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
  switch (message) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_CROSS)); return TRUE;
    case WM_KEYDOWN:
      if (wParam != VK_ESCAPE) break;
      Finish(false);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: Finish(false); return 0;
    case WM_LBUTTONDOWN:
      session_.Press(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      SetCapture(window);
      Render();
      return 0;
    case WM_MOUSEMOVE:
      if (session_.Move(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) Render();
      return 0;
    case WM_LBUTTONUP: Finish(true); return 0;
    case WM_CAPTURECHANGED:
      if (session_.dragging()) Finish(false);
      return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
