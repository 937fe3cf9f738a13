#pragma once
// Drawing a measured math tree: glyph strings for its leaves and big operators, strokes for
// fraction rules, radical signs, accents and stretchy delimiters.
#include "draw/argb.h"
#include "math/math_glyphs.h"
#include "math/math_node.h"

// Draws `node`, measured by MeasureMathNode at the same `s` and `bold`, with the left edge of its
// box at `x` and its baseline at `baseline`. Only big operators measure their glyph again.
void DrawMathNode(const MathGraphics& graphics, const MathNode& node, float x, float baseline, float s, Argb colour,
                  bool bold);
