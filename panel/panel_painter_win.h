#pragma once
// Painting of the panel window (WM_PAINT): an off-screen back buffer drawn with GDI+ by PaintPanel
// (recorded first, and drawn only as far as it differs from the last paint) and copied to the
// window, only within the update rectangle; under glass two buffers (the content
// and the glass layer) handed to the glass backdrop instead.
#include <windows.h>

#include <memory>

#include "core/unique_handle_win.h"
#include "draw/cached_measurer.h"
#include "draw/frame_buffer_win.h"
#include "glass/glass_backdrop_win.h"
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
  // only the plain background is painted. With `state.glassActive` both layers go to `glass`;
  // false when it refused them (the caller then turns glass off).
  bool Paint(HWND window, PanelState& state, const PanelControls& controls, GlassBackdrop* glass);

 private:
  // A 32-bit top-down buffer of the client area, made again when the size changes.
  struct Buffer {
    UniqueBitmap bitmap;
    void* bits = nullptr;
    int width = 0;
    int height = 0;
    // False when it cannot be made.
    bool Ensure(HDC dc, int width, int height);
    // Clears `rect`'s pixels to transparent.
    void Clear(const RECT& rect);
  };

  Buffer content_;
  Buffer glassLayer_;  // only under glass
  std::unique_ptr<GdiplusFonts> fonts_;  // made at the first paint with GDI+
  MeasureMemo measured_;                 // what earlier paints measured, at the current scale
  FrameBuffer frames_;                   // what the last plain paint drew, to draw only what changed
  SettingsPagePainter settingsPainter_;
};
