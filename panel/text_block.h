#pragma once
// The scrollable block that every long text of the panel is drawn through: answers with math go
// to the rich-text layout, plain text is wrapped, clipped and scrolled, with a thumb when it does
// not fit.
#include <string_view>

#include "draw/argb.h"
#include "draw/canvas.h"
#include "draw/geometry.h"
#include "draw/glyph_measurer.h"

// The panel's body fonts: "Segoe UI Semibold", or "Segoe UI" when not semibold.
FontSpec PanelFont(float pixelSize, bool semibold = true);

// Draws `text` in `rect` at `fontSize` pixels. `scrollMax` receives how far the block scrolls and
// `scroll` is pulled into [0, scrollMax]. A rectangle with no width or height draws nothing and
// leaves both alone.
void DrawTextBlock(Canvas& canvas, GlyphMeasurer& measurer, std::wstring_view text, const RectF& rect,
                   float fontSize, Argb colour, float& scroll, float& scrollMax, bool semibold);
