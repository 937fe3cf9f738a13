#pragma once
// What one drawing call leaves on an otherwise transparent patch of a back buffer: premultiplied
// ARGB rows at a place of that buffer. Drawing the call again onto the buffer is blending its
// sprite there, which takes no rasteriser; blending is the same source-over a rasteriser does.
#include <cstdint>
#include <vector>

#include "core/geometry.h"

struct Sprite {
  PixelRect area;                // where on the buffer
  std::vector<uint32_t> pixels;  // area.Width() x area.Height(), top-down, premultiplied
};

// A sprite of `area` with every pixel transparent (an empty area gives an empty sprite).
Sprite BlankSprite(const PixelRect& area);

// Shrinks `sprite` to the smallest area holding every pixel that is not wholly transparent; a
// sprite with none ends with an empty area.
void CropToInk(Sprite& sprite);

// Blends `sprite` over the top-down premultiplied `rows` of a buffer `width` pixels wide, only
// inside `clip` (which must lie within the buffer).
void BlendSprite(const Sprite& sprite, uint32_t* rows, int width, const PixelRect& clip);

// The overlap of two rectangles (empty, with no positive width or height, when they do not meet).
PixelRect Intersect(const PixelRect& a, const PixelRect& b);
inline bool IsEmpty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }
