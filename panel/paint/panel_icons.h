#pragma once
// The panel's own icon set, drawn from lines and curves so it scales with the panel.
#include "draw/argb.h"
#include "draw/canvas.h"

enum class PanelGlyph { Close, Minus, Strip, Snip, Gear, Back, Scan, Question, Chevron, Arrow };

// `glyph` in a `size` x `size` square with its top-left corner at `topLeft`. The chevron points
// down, or up when `flipped` (the other glyphs ignore it).
void DrawPanelGlyph(Canvas& canvas, PanelGlyph glyph, PointF topLeft, float size, Argb colour,
                    bool flipped = false);
