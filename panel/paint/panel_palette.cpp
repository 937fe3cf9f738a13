#include "panel/paint/panel_palette.h"

PanelPalette ChoosePalette(bool glassActive, bool lightTheme) {
  PanelPalette p;
  p.glass = glassActive;
  p.light = lightTheme;
  if (!glassActive && lightTheme) {
    p.background = 0xFFF6F6F9;
    p.primary = 0xFF121216;
    p.secondary = 0xFF484850;
    p.accent = 0xFF0C0C10;
    p.keycap = 0xFFEEEEF2;
    p.keycapOutline = 0x1C000000;
    p.badgeFill = 0xFFECECF2;
    p.badgeOutline = 0x1C000000;
    p.card = 0xFFFFFFFF;
    p.cardOutline = 0x14000000;
    p.hoverTint = 0x0E000000;
    p.pressTint = 0x1A000000;
    p.switchTrack = 0x24000000;
    p.divider = 0x1A000000;
  } else if (!glassActive) {
    p.background = 0xFF1E1E22;
    p.primary = 0xFFF6F6FA;
    p.secondary = 0xFFC6C6CE;
    p.accent = 0xFFFFFFFF;
    p.keycap = 0xFF404048;
    p.keycapOutline = 0x24FFFFFF;
    p.badgeFill = 0xFF34343C;
    p.badgeOutline = 0x20FFFFFF;
    p.card = 0xFF26262C;
    p.cardOutline = 0x18FFFFFF;
    p.hoverTint = 0x12FFFFFF;
    p.pressTint = 0x20FFFFFF;
    p.switchTrack = 0x38FFFFFF;
    p.divider = 0x1EFFFFFF;
  } else if (lightTheme) {
    p.background = 0x72FFFFFF;
    p.primary = 0xFF121216;
    p.secondary = 0xE01C1C24;
    p.accent = 0xFF0C0C10;
    p.keycap = 0x12000000;
    p.badgeFill = 0x12000000;
    p.badgeOutline = 0x1AFF4EAE;
    p.card = 0x38FFFFFF;
    p.cardOutline = 0x1AFFFFFF;
    p.hoverTint = 0x10000000;
    p.pressTint = 0x1C000000;
    p.switchTrack = 0x24000000;
    p.divider = 0x1A000000;
  } else {
    p.primary = 0xFFFFFFFF;
    p.secondary = 0xF2FFFFFF;
    p.accent = 0xFFFFFFFF;
    p.keycap = 0x22FFFFFF;
    p.badgeFill = 0x24FFFFFF;
    p.badgeOutline = 0x1EF2368E;
    p.card = 0x16FFFFFF;
    p.cardOutline = 0x1CFFFFFF;
    p.hoverTint = 0x1EFFFFFF;
    p.pressTint = 0x2CFFFFFF;
    p.switchTrack = 0x38FFFFFF;
    p.divider = 0x24FFFFFF;
  }
  return p;
}

void FillPanelBackground(Canvas& canvas, const PanelPalette& palette, float width, float height) {
  if (palette.background) canvas.FillRect({-1, -1, width + 2, height + 2}, *palette.background);
}

void DrawPanelRim(Canvas& canvas, const PanelPalette& palette, float width, float height) {
  if (!palette.glass) {
    canvas.StrokeRoundedRect({0.5f, 0.5f, width - 1, height - 1}, 29.5f,
                             {palette.light ? 0x1C000000u : 0x24FFFFFFu, 1});
    return;
  }
  canvas.StrokeRoundedRect({0, 0, width, height}, 30, {palette.light ? 0x2E000000u : 0x2C000000u, 0.9f});
  canvas.StrokeRoundedRect({2.6f, 2.6f, width - 5.2f, height - 5.2f}, 27.4f,
                           {palette.light ? 0x12000000u : 0x14000000u, 1.4f});
  // Soft highlights along the edge, widest and faintest first.
  const float widths[3] = {4.2f, 2.2f, 0.95f};
  const uint8_t lightAlphas[3] = {28, 88, 255};
  const uint8_t darkAlphas[3] = {30, 78, 252};
  const Argb tint = palette.light ? 0x00FFFFFFu : 0x00F6E6F0u;
  for (int i = 0; i < 3; ++i) {
    uint8_t alpha = palette.light ? lightAlphas[i] : darkAlphas[i];
    canvas.StrokeRoundedRect({1.2f, 1.2f, width - 2.4f, height - 2.4f}, 28.8f, {WithAlpha(tint, alpha), widths[i]});
  }
}
