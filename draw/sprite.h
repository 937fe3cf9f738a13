#pragma once
// What one drawing call leaves on an otherwise transparent buffer, kept apart from any buffer:
// premultiplied ARGB runs of ink relative to an origin, so the same sprite can be blended at any
// whole-pixel place. Transparent stretches are not stored, and a wholly opaque one-colour
// rectangle is kept as its colour alone. Blending is the same source-over a rasteriser does.
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/geometry.h"

// One horizontal stretch of ink: `length` pixels from (x, y), their colours from `offset` on.
struct SpriteRun {
  int x = 0;
  int y = 0;
  uint32_t offset = 0;
  uint32_t length = 0;
};

inline constexpr PixelRect kEverywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

struct Sprite {
  PixelRect ink;                  // the bounds of every run (or of the solid rectangle)
  PixelRect known = kEverywhere;  // where the sprite is exact; outside `ink` but inside it, transparent
  std::optional<uint32_t> solid;  // `ink` wholly this opaque colour (no runs)
  // The one colour (0x00RRGGBB) every pixel has before its alpha, for a call drawn in one colour:
  // over an opaque pixel it is blended from that colour itself, as GDI+ blends it, rather than
  // from its premultiplied (rounded) pixels.
  std::optional<uint32_t> tint;
  std::vector<SpriteRun> runs;
  std::vector<uint32_t> pixels;
  size_t Bytes() const { return runs.capacity() * sizeof(SpriteRun) + pixels.capacity() * 4 + sizeof(Sprite); }
};

// The ink of `area` of the top-down `rows` (`width` pixels a row), relative to `origin`: stretches
// apart by more than a few transparent pixels become separate runs.
Sprite SpriteFromPixels(const uint32_t* rows, int width, const PixelRect& area, int originX, int originY);

// A sprite of `area` (relative) wholly in the opaque `colour`.
Sprite SolidSprite(const PixelRect& area, uint32_t colour);

// Blends `sprite`, its origin at (x, y), over the top-down premultiplied `rows` of a buffer
// `width` pixels wide, only inside `clip` (which must lie within the buffer).
void BlendSprite(const Sprite& sprite, int x, int y, uint32_t* rows, int width, const PixelRect& clip);

// The overlap of two rectangles (empty, with no positive width or height, when they do not meet).
PixelRect Intersect(const PixelRect& a, const PixelRect& b);
inline bool IsEmpty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }
// `r` moved by (dx, dy), held within the range of int.
PixelRect Offset(const PixelRect& r, int dx, int dy);
// `r` grown by `by` on every side, held within the range of int.
PixelRect Inflate(const PixelRect& r, int by);
// Whether `inner` (not empty) lies within `outer`.
inline bool Contains(const PixelRect& outer, const PixelRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}
