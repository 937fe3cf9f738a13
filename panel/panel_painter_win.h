#pragma once
// Painting of the panel window (WM_PAINT): the chrome, the pages, the answer card and the footer,
// from the panel's state.
#include <windows.h>

#include "panel/panel_state.h"

class PanelPainter {
 public:
  // Paints the update region of `window`. The text blocks write their scroll maxima back into
  // `state`.
  void Paint(HWND window, PanelState& state);
};
