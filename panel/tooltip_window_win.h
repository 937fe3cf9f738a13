#pragma once
// The panel's tooltips: one common-controls tooltip window owned by the panel, with a tool per
// button that has a hint.
#include <windows.h>

#include <memory>

#include "app/core/unique_handle_win.h"
#include "panel/capture_exclusion_win.h"

class TooltipWindow {
 public:
  // The tooltip window owned by `panel`. Null when it cannot be created or hidden from capture; the
  // panel then works without tooltips.
  static std::unique_ptr<TooltipWindow> Create(HINSTANCE instance, HWND panel, CapturePolicy policy);

  HWND handle() const { return window_.get(); }

 private:
  explicit TooltipWindow(UniqueWindow window) : window_(std::move(window)) {}

  UniqueWindow window_;
};
