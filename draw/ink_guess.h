#pragma once
// Where a recorded call probably leaves ink on a buffer: the painter's first try at a sprite's
// area. A guess only: the painter draws a margin around it and grows the area while ink reaches
// the margin, so a guess too small costs a redraw, never ink.
#include <optional>

#include "core/geometry.h"
#include "draw/glyph_measurer.h"
#include "draw/recording_canvas.h"

struct InkGuess {
  PixelRect area;  // the device pixels around the call's geometry, two more for smoothing
  // How deep a rim of `area` must be free of ink to show the guess held: three quarters of an em
  // for text (more than the gap between a text box's lines), a pixel for shapes (their ink is
  // connected).
  int rim = 1;
};

// Where `call` probably leaves ink at `scale` device pixels per unit (glyphs measured by
// `measurer`, in the call's units). Push and Pop calls, and calls with nothing finite to place,
// give an empty area.
InkGuess GuessInk(const DrawCall& call, PointF scale, GlyphMeasurer& measurer);

// The colour of `call` when it paints every pixel of `area` wholly and opaquely: a fill of a
// rectangle with one opaque colour that covers each of those pixels whole at `scale` (so no edge
// of it is smoothed there). Such a sprite needs no rasteriser.
std::optional<Argb> OpaqueFillCovering(const DrawCall& call, PointF scale, const PixelRect& area);
