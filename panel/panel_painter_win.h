#pragma once
// Painting of the panel window (WM_PAINT): an off-screen back buffer drawn with GDI+ by PaintPanel
// and copied to the window, only within the update rectangle.
#include <windows.h>

#include <memory>

#include "app/core/unique_handle_win.h"
#include "draw/cached_measurer.h"
#include "panel/panel_controls_win.h"
#include "panel/panel_paint.h"
#include "panel/panel_state.h"

class GdiplusFonts;

class PanelPainter {
 public:
  PanelPainter();
  ~PanelPainter();
  PanelPainter(const PanelPainter&) = delete;
  PanelPainter& operator=(const PanelPainter&) = delete;

  // Draws the settings page's sections (the page itself supplies them).
  void SetSettingsPainter(SettingsPagePainter painter) { settingsPainter_ = std::move(painter); }

  // Paints the update region of `window` from `state` and what `controls` show. The text blocks
  // write their scroll positions and maxima back into `state`. Needs GDI+ started; without it
  // only the plain background is painted.
  void Paint(HWND window, PanelState& state, const PanelControls& controls);

 private:
  // The 32-bit top-down back buffer of a `width` x `height` client area, made again when the size
  // changes; false when it cannot be made.
  bool EnsureBuffer(HDC dc, int width, int height);

  UniqueBitmap buffer_;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<GdiplusFonts> fonts_;  // made at the first paint with GDI+
  MeasureMemo measured_;                 // what earlier paints measured, at the current scale
  SettingsPagePainter settingsPainter_;
};
