#pragma once
// The panel's colours in its four looks (plain or glass, light or dark) and the rim around it.
#include <optional>

#include "draw/argb.h"
#include "draw/canvas.h"

struct PanelPalette {
  bool glass = false;
  bool light = false;
  std::optional<Argb> background;  // none under dark glass: the backdrop shows
  Argb primary = 0;
  Argb secondary = 0;
  Argb accent = 0;
  Argb keycap = 0;
  Argb keycapOutline = 0;  // 0: no outline (glass)
  Argb badgeFill = 0;
  Argb badgeOutline = 0;
  Argb card = 0;          // the fill of the buttons and cards
  Argb cardOutline = 0;
  Argb hoverTint = 0;     // over a control under the pointer
  Argb pressTint = 0;     // over a control being pressed
  Argb switchTrack = 0;   // the Stealth switch in its off position
  Argb divider = 0;
};

PanelPalette ChoosePalette(bool glassActive, bool lightTheme);

// Colours that do not change with the look.
namespace panel_colour {
inline constexpr Argb CloseDot = 0xFFE16C5D;
inline constexpr Argb HideDot = 0xFFE8B347;
inline constexpr Argb StealthDot = 0xFF6ABE5D;
inline constexpr Argb DotRing = 0x3E533735;
inline constexpr Argb DotGlyph = 0xE02D2A2F;
inline constexpr Argb ReadyDot = 0xFF6ABE5D;
inline constexpr Argb White = 0xFFFFFFFF;
}  // namespace panel_colour

// The background over the whole client area (from (-1, -1), 2 larger each way) when the look has one.
void FillPanelBackground(Canvas& canvas, const PanelPalette& palette, float width, float height);
// The outline along the panel's rounded edge: one line without glass, an outer and an inner line
// and three soft highlights with glass.
void DrawPanelRim(Canvas& canvas, const PanelPalette& palette, float width, float height);
