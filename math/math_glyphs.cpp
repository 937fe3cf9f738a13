#include "math/math_glyphs.h"

#include <algorithm>
#include <string>

FontSpec MathGlyphFont(float size, unsigned style) {
  return FontSpec{std::wstring(kMathFontFamily), std::max(size, kMinMathGlyphSize), style};
}

SizeF MeasureGlyphs(GlyphMeasurer& measurer, std::wstring_view text, const FontSpec& font) {
  if (text.empty()) return {};
  return measurer.Measure(text, font);
}

void DrawGlyphs(Canvas& canvas, std::wstring_view text, const FontSpec& font, float x, float y, Argb colour) {
  if (text.empty()) return;
  canvas.DrawGlyphs(text, font, colour, {x, y});
}
