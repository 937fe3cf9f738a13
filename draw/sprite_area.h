#pragma once
// Where on a back buffer a recorded call can leave pixels, for drawing it once into a sprite. The
// area is generous (a sprite is cut down to its ink after drawing) but never too small: text may
// overhang its advance, strokes their path, miters their corners and curves their points.
#include <span>

#include "app/core/geometry.h"
#include "draw/recording_canvas.h"

// The pixels of a `width` x `height` buffer that `call` can touch when drawn at `scale` under
// `pushes` (the clips and scales in effect, outermost first). Push and Pop calls touch none.
PixelRect SpriteArea(const DrawCall& call, std::span<const DrawCall> pushes, float scale, int width, int height);
