#pragma once
// The stealth strip's window: a thin layered, click-through window on a screen edge
// ("VykTutorStealth"). What it shows and when is the strip controller's (panel/strip_controller_win.h).
#include <windows.h>

#include <memory>

#include "core/geometry.h"
#include "core/unique_handle_win.h"
#include "panel/window/capture_exclusion_win.h"

inline constexpr const wchar_t* kStealthClassName = L"VykTutorStealth";

class StripWindow {
 public:
  static bool Register(HINSTANCE instance);
  // The hidden 1 x 1 strip. Null when it cannot be created or hidden from capture, with the error
  // as the thread's last error (the program does not run without it).
  static std::unique_ptr<StripWindow> Create(HINSTANCE instance, CapturePolicy policy);

  HWND handle() const { return window_.get(); }
  bool shown() const { return IsWindowVisible(window_.get()) != FALSE; }
  // Moves the strip to `rect` (screen pixels), topmost and without activation, shown or hidden.
  void Place(const PixelRect& rect, bool show);
  void Hide() { ShowWindow(window_.get(), SW_HIDE); }

 private:
  explicit StripWindow(UniqueWindow window) : window_(std::move(window)) {}
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  UniqueWindow window_;
};
