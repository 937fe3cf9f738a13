#pragma once
// What a recorded call's sprite depends on, and where it goes. The key holds everything that
// changes the call's pixels: the call itself (text, font, colours, pens, points, paths, gradients)
// moved so that its first point is at the origin, the fraction of a device pixel where that point
// falls (to 1/256 of a pixel), the device scale, and any rounded clip in effect. Rectangular clips are left out: they
// cut whole pixels, so the painter applies them when it blends. The same call moved by whole
// device pixels (text that scrolls, a block drawn elsewhere) thus finds the same sprite, blended
// at `originX`, `originY`.
#include <cstddef>
#include <span>
#include <vector>

#include "draw/recording_canvas.h"

struct SpriteKey {
  DrawCall call;                 // moved so that its anchor is at (0, 0); depth 0
  PointF phase;                  // the anchor's device position less its whole pixels, in 1/256 pixels
  PointF scale;                  // device pixels per unit of the call
  std::vector<DrawCall> shapes;  // with a rounded clip in effect: the scales and rounded clips, unmoved
  bool operator==(const SpriteKey&) const = default;
};

struct SpritePlace {
  SpriteKey key;
  int originX = 0;  // the whole device pixels of the anchor (0 when the key is unmoved)
  int originY = 0;
};

// Where `call`, drawn under `pushes` (outermost first) on a buffer of `scale` pixels per unit,
// leaves its sprite, and the sprite's key. A call under a rounded clip, or one too far out to
// move exactly, keeps its own coordinates.
SpritePlace PlaceSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale);

// Whether a pushed state is a rectangular clip (applied at blending) or changes the drawing itself.
bool IsRectClip(const DrawCall& push);

size_t HashDrawCall(const DrawCall& call);
struct SpriteKeyHash {
  size_t operator()(const SpriteKey& key) const;
};
