#pragma once
// The panel's tooltips: one common-controls tooltip window owned by the panel, with a tool per
// child control that has a tip.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "panel/window/capture_exclusion_win.h"
#include "panel/window/tooltip_texts.h"

class TooltipWindow {
 public:
  // The tooltip window owned by `panel`. Null when it cannot be created or hidden from capture; the
  // panel then works without tooltips.
  static std::unique_ptr<TooltipWindow> Create(HINSTANCE instance, HWND panel, CapturePolicy policy);

  // Adds a tool for each tip's control (found by `control`), or updates the text of one added
  // before.
  void SetTips(const std::vector<ControlTip>& tips, const std::function<HWND(int id)>& control);
  // The text of the tool for `control`, empty when it has none.
  std::wstring TipText(HWND control) const;
  // A tool for an area of the panel (client pixels; an empty one never shows), added or moved.
  void SetAreaTip(UINT_PTR id, const RECT& area, const std::wstring& text);
  // The text and area of area tool `id`, empty when it has none.
  std::wstring AreaTipText(UINT_PTR id, RECT* area = nullptr) const;

  HWND handle() const { return window_.get(); }

 private:
  explicit TooltipWindow(UniqueWindow window, HWND owner) : window_(std::move(window)), owner_(owner) {}

  UniqueWindow window_;
  HWND owner_;
  std::vector<HWND> tools_;
  std::vector<UINT_PTR> areaTools_;
};
