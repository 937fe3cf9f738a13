#pragma once
// The scrollable block that every long text of the panel is drawn through: answers with math go
// to the rich-text layout, plain text is wrapped, clipped and scrolled, with a thumb when it does
// not fit.
#include <cstddef>
#include <string_view>
#include <vector>

#include "draw/argb.h"
#include "draw/canvas.h"
#include "draw/geometry.h"
#include "draw/glyph_measurer.h"

// Plain texts longer than this many UTF-16 units are laid out in pieces of whole lines of about
// kTextPieceLength: only the pieces on view are measured and drawn, the others' heights are
// estimated from the first piece, so a long answer costs a few measurements wherever it is
// scrolled. A piece is cut only at a line feed of the text, so the pieces wrap exactly as the whole
// text does; a single line longer than kLongTextLength (only a hostile reply has one) is cut at
// spaces instead. Scrolled to its end, the block measures every piece and its range is exact.
inline constexpr size_t kLongTextLength = 4000;
inline constexpr size_t kTextPieceLength = 600;

// `text` cut into pieces of whole lines: each cut is at a line feed that follows some text (the
// feed, and a carriage return before it, belong to neither piece; further feeds open the next
// piece as its empty lines), so the pieces' wrapped heights add up to the whole text's. Only a line
// longer than kLongTextLength is cut inside, after a space where one is near.
std::vector<std::wstring_view> LinePieces(std::wstring_view text);

// The panel's body fonts: "Segoe UI Semibold", or "Segoe UI" when not semibold.
FontSpec PanelFont(float pixelSize, bool semibold = true);

// Draws `text` in `rect` at `fontSize` pixels. `scrollMax` receives how far the block scrolls and
// `scroll` is pulled into [0, scrollMax]. A rectangle with no width or height draws nothing and
// leaves both alone.
void DrawTextBlock(Canvas& canvas, GlyphMeasurer& measurer, std::wstring_view text, const RectF& rect,
                   float fontSize, Argb colour, float& scroll, float& scrollMax, bool semibold);
