#include "panel/panel_painter_win.h"

#include "app/core/unique_handle_win.h"

void PanelPainter::Paint(HWND window, PanelState& state) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (dc) {
    // The plain background of the theme; the pages are drawn over it as they come.
    UniqueBrush background(CreateSolidBrush(state.settings.lightTheme ? RGB(0xF6, 0xF6, 0xF9)
                                                                      : RGB(0x1E, 0x1E, 0x22)));
    if (background) FillRect(dc, &paint.rcPaint, background.get());
  }
  EndPaint(window, &paint);
}
