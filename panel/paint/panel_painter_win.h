#pragma once
// Painting of the panel window (WM_PAINT): an off-screen back buffer drawn with GDI+ by PaintPanel
// (recorded first, and drawn only as far as it differs from the last paint) and copied to the
// window, only within the update rectangle; under glass two buffers (the content
// and the glass layer) handed to the glass backdrop instead.
#include <windows.h>

#include <memory>
#include <optional>

#include "core/unique_handle_win.h"
#include "draw/cached_measurer.h"
#include "draw/frame_buffer_win.h"
#include "glass/glass_backdrop_win.h"
#include "panel/window/panel_controls_win.h"
#include "panel/paint/panel_paint.h"
#include "panel/paint/panel_view.h"
#include "panel/panel_state.h"

class GdiplusFonts;

// What a paint found: where the text blocks' scrolls ended up (when the page was drawn), and
// whether the glass presentation refused the paint (the caller then turns glass off).
struct PaintOutcome {
  std::optional<CardScrolls> scrolls;
  bool glassRefused = false;
};

class PanelPainter {
 public:
  PanelPainter();
  ~PanelPainter();
  PanelPainter(const PanelPainter&) = delete;
  PanelPainter& operator=(const PanelPainter&) = delete;

  // Draws the settings page's sections (the page itself supplies them).
  void SetSettingsPainter(SettingsPagePainter painter) { settingsPainter_ = std::move(painter); }

  // Paints the update region of `window` from `view` (at `uiScale`, with the drawn caret lit or
  // not) and what `controls` show. Needs GDI+ started; without it only the plain background is
  // painted. With `view.glassActive` both layers go to `glass`.
  PaintOutcome Paint(HWND window, const PanelView& view, float uiScale, bool caretVisible,
                     const PanelControls& controls, GlassBackdrop* glass);

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
