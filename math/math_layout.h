#pragma once
// Measuring a parsed math tree: every node gets its width and its ascent and descent about the
// baseline, in pixels, from the size it is set at and the glyph strings of its leaves.
#include "draw/glyph_measurer.h"
#include "math/math_node.h"

// Fills the metrics of `node` and of all its descendants (children first), the node being set at
// size `s` pixels; `bold` sets every glyph in bold. Drawing reads these metrics back.
void MeasureMathNode(GlyphMeasurer& measurer, MathNode& node, float s, bool bold);
