#pragma once
// The snip overlay: a layered window over the whole desktop on which the user drags the rectangle
// to send ("VykTutorSnip", cross cursor). It is created when a snip starts and destroyed when it
// ends; the panel owns it meanwhile.
#include <windows.h>

#include <memory>

#include "app/core/geometry.h"
#include "app/core/unique_handle_win.h"
#include "panel/capture_exclusion_win.h"

inline constexpr const wchar_t* kSnipClassName = L"VykTutorSnip";

class SnipOverlay {
 public:
  static bool Register(HINSTANCE instance);
  // The hidden overlay over `desktop` (the virtual screen), owned by `panel`. Null when it cannot be
  // created or hidden from capture: no snip is offered that screen capture could record.
  static std::unique_ptr<SnipOverlay> Create(HINSTANCE instance, HWND panel, const PixelRect& desktop,
                                             CapturePolicy policy);
  ~SnipOverlay();
  SnipOverlay(const SnipOverlay&) = delete;
  SnipOverlay& operator=(const SnipOverlay&) = delete;

  HWND handle() const { return window_.get(); }
  const PixelRect& desktop() const { return desktop_; }

 private:
  explicit SnipOverlay(const PixelRect& desktop) : desktop_(desktop) {}
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  PixelRect desktop_;
  UniqueWindow window_;
};
