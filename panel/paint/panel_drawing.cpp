#include "panel/paint/panel_drawing.h"

RectF Inflate(const RectF& rect, float by) {
  return {rect.x - by, rect.y - by, rect.width + 2 * by, rect.height + 2 * by};
}

void DrawFocusRing(Canvas& canvas, const RectF& rect, float radius, Argb colour) {
  canvas.StrokeRoundedRect(Inflate(rect, 0.75f), radius + 0.75f, {colour, 1.5f});
}

void DrawSoftShadow(Canvas& canvas, const RectF& rect, float radius, float spread, Argb colour) {
  constexpr int kRings = 4;
  const uint8_t alpha = AlphaOf(colour);
  for (int i = kRings; i >= 1; --i) {
    float grow = spread * static_cast<float>(i);
    RectF ring = Inflate(rect, grow);
    ring.y += spread * 1.5f;
    canvas.FillRoundedRect(ring, radius + grow, WithAlpha(colour, uint8_t(alpha / (kRings + 1))));
  }
}

void DrawAccentOutline(Canvas& canvas, const RectF& rect, float radius, uint8_t alpha, uint8_t red,
                       uint8_t green, uint8_t blue) {
  canvas.StrokeRoundedRect(rect, radius, {MakeArgb(alpha, red, green, blue), 1});
}

TextBoxFormat OneLine(TextAlign horizontal) {
  return {horizontal, TextAlign::Center, false, true};
}
