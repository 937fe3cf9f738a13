#pragma once
// Where on a back buffer a recorded call can leave pixels, for drawing it once into a sprite. The
// area is generous (a sprite is cut down to its ink after drawing) but never too small: glyphs may
// overhang the box their font measures, strokes their path, miters their corners and curves their
// points.
#include <optional>
#include <span>

#include "core/geometry.h"
#include "draw/glyph_measurer.h"
#include "draw/recording_canvas.h"

// The pixels of a `width` x `height` buffer that `call` can touch when drawn at `scale` under
// `pushes` (the clips and scales in effect, outermost first); glyphs are measured by `measurer`, in
// the call's units. Push and Pop calls touch none.
PixelRect SpriteArea(const DrawCall& call, std::span<const DrawCall> pushes, float scale, int width, int height,
                     GlyphMeasurer& measurer);

// The colour of `call` when it paints every pixel of `area` wholly and opaquely: a fill of a
// rectangle with one opaque colour, under no clip, that covers each of those pixels whole (so no
// edge of it is smoothed there). Such a sprite needs no rasteriser.
std::optional<Argb> WholeOpaqueFill(const DrawCall& call, std::span<const DrawCall> pushes, float scale,
                                    const PixelRect& area);
