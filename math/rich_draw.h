#pragma once
// Drawing a block of text that mixes words and math into a rectangle: wrapped, clipped to the
// rectangle, scrolled, with a scroll thumb when the text is taller than the rectangle.
#include <string_view>

#include "draw/argb.h"
#include "draw/geometry.h"
#include "math/math_glyphs.h"

// Splits, measures, lays out and draws `text` in `rect` at word size `s` (math a little larger),
// in `colour`, in the semibold word font and bold math when `bold`. `maxScroll` receives how far
// the block can scroll; `scroll` (the pixels scrolled) is pulled into [0, maxScroll] and drawn
// from. A rectangle with no width or height (or a size that is not positive) draws nothing and
// leaves both values as they were.
void DrawRichText(const MathGraphics& graphics, std::wstring_view text, const RectF& rect, float s, Argb colour,
                  bool bold, float& scroll, float& maxScroll);
