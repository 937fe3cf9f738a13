#pragma once
// The soft shadow under the panel: a layered, click-through window owned by the panel that follows
// it around ("VykTutorShadow").
#include <windows.h>

#include <memory>

#include "core/unique_handle_win.h"
#include "panel/window/capture_exclusion_win.h"
#include "panel/window/layered_bitmap_win.h"

inline constexpr const wchar_t* kShadowClassName = L"VykTutorShadow";

class ShadowWindow {
 public:
  static bool Register(HINSTANCE instance);
  // The hidden 1 x 1 shadow owned by `panel`. Null when it cannot be created or hidden from capture
  // (the program then runs without a shadow).
  static std::unique_ptr<ShadowWindow> Create(HINSTANCE instance, HWND panel, CapturePolicy policy);

  HWND handle() const { return window_.get(); }
  // Follows the panel window: hidden unless the panel is shown, else drawn for the panel's size at
  // `uiScale` (only when the size or the margin changed) and placed at the panel's top-left corner
  // less the shadow's margin, without activation and without changing the z-order.
  void Update(HWND panel, bool panelShown, float uiScale);

 private:
  explicit ShadowWindow(UniqueWindow window) : window_(std::move(window)) {}
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  // Renders the shadow of a width x height panel and pushes it; false when nothing was pushed.
  bool DrawShadow(int width, int height, float uiScale);

  UniqueWindow window_;
  LayeredBitmap bitmap_;
  int width_ = 0, height_ = 0;  // of the panel the shadow was last drawn for
  int margin_ = 0;              // of the shadow bitmap; none until the shadow is drawn
};
