#pragma once
// Glyph strings of math and rich text: the fonts they are set in, and measuring and drawing one
// string on one line. Math is measured with a GlyphMeasurer and drawn on a Canvas that lays glyph
// strings out exactly as that measurer measures them.
#include <optional>
#include <string_view>

#include "draw/argb.h"
#include "draw/canvas.h"
#include "draw/font.h"
#include "draw/geometry.h"
#include "draw/glyph_measurer.h"

// The family of every math glyph.
inline constexpr std::wstring_view kMathFontFamily = L"Cambria Math";
// Math glyphs are never set smaller than this many pixels, however deeply they are nested.
inline constexpr float kMinMathGlyphSize = 7.5f;

// Where math is measured and drawn: the canvas, and the measurer of its glyph strings.
struct MathGraphics {
  Canvas& canvas;
  GlyphMeasurer& measurer;
  // Where drawing can show (the clip it is drawn under), when known: nodes whose boxes lie well
  // outside it are not drawn at all, so a huge tree costs only what shows of it.
  std::optional<RectF> visible = std::nullopt;
};

// "Cambria Math" at `size` pixels, or at the smallest math glyph size when `size` is below it.
FontSpec MathGlyphFont(float size, unsigned style);

// Width and height of `text` on one line; (0, 0) for an empty string.
SizeF MeasureGlyphs(GlyphMeasurer& measurer, std::wstring_view text, const FontSpec& font);

// `text` on one line with its top-left corner at (x, y); nothing for an empty string.
void DrawGlyphs(Canvas& canvas, std::wstring_view text, const FontSpec& font, float x, float y, Argb colour);
