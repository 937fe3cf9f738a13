#pragma once
// The scrollable block that every long text of the panel is drawn through: answers with math go
// to the rich-text layout, plain text is wrapped, clipped and scrolled, with a thumb when it does
// not fit.
#include <cstddef>
#include <string_view>

#include "draw/argb.h"
#include "draw/canvas.h"
#include "draw/geometry.h"
#include "draw/glyph_measurer.h"

// Plain texts longer than this many UTF-16 units are laid out in pieces of about kTextPieceLength
// (cut after a space or line feed where one is near): only the pieces on view are measured and
// drawn, the others' heights are estimated from the first piece, so a hostile answer costs the same
// few measurements as a short one. Each piece starts a line of its own.
inline constexpr size_t kLongTextLength = 4000;
inline constexpr size_t kTextPieceLength = 600;

// The panel's body fonts: "Segoe UI Semibold", or "Segoe UI" when not semibold.
FontSpec PanelFont(float pixelSize, bool semibold = true);

// Draws `text` in `rect` at `fontSize` pixels. `scrollMax` receives how far the block scrolls and
// `scroll` is pulled into [0, scrollMax]. A rectangle with no width or height draws nothing and
// leaves both alone.
void DrawTextBlock(Canvas& canvas, GlyphMeasurer& measurer, std::wstring_view text, const RectF& rect,
                   float fontSize, Argb colour, float& scroll, float& scrollMax, bool semibold);
