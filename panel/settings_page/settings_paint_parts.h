#pragma once
// What the pieces of the settings page's drawing share (internal to the settings painting).
#include "panel/paint/panel_palette.h"
#include "panel/settings_page/settings_paint.h"

struct SettingsPaintContext {
  Canvas& canvas;
  GlyphMeasurer& measurer;
  const PanelPalette& palette;
  const PanelView& view;
  float width;

  void Text(std::wstring_view text, const RectF& box, float size, Argb colour, bool semibold = true,
            TextAlign align = TextAlign::Near) const;
  bool Hot(int id) const { return view.controls.hotControl == id; }
  bool Focused(int id) const { return view.controls.focusControl == id; }
  // A rounded outline 2 outside `rect` while control `id` has the focus.
  void FocusRing(int id, const RectF& rect, float radius) const;
  // A small pill button with a label (keycaps, Reset, Back, Refresh, Sign out), tinted while hot.
  void PillButton(int id, const RectF& rect, std::wstring_view label, float textSize, bool marked = false) const;
  // The filled primary button of the account area.
  void PrimaryButton(int id, const RectF& rect, std::wstring_view label) const;
  // Red for errors, in the theme's shade.
  Argb ErrorColour() const { return palette.light ? 0xFFBC2E2Cu : 0xFFFFA29Cu; }
};

// The open account section's contents; its card starts at y 104.
void PaintAccountSection(const SettingsPaintContext& context, const AccountPaintView& account);
