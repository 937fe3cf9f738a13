#pragma once
// Float geometry of drawing: points, sizes and rectangles in the units of the current world
// transform (logical pixels for the panel). The program's layout rectangles convert with ToRectF.

#include "core/geometry.h"

struct PointF {
  float x = 0;
  float y = 0;
  bool operator==(const PointF&) const = default;
};

struct SizeF {
  float width = 0;
  float height = 0;
  bool operator==(const SizeF&) const = default;
};

// Origin and size; a rectangle with no positive width or height is empty and draws nothing.
struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
  float Right() const { return x + width; }
  float Bottom() const { return y + height; }
  bool IsEmpty() const { return !(width > 0 && height > 0); }
  bool operator==(const RectF&) const = default;
};

// The bounding box of a circle.
inline RectF CircleBounds(PointF centre, float radius) {
  return {centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
}

inline RectF ToRectF(const LogicalRect& r) { return {r.x, r.y, r.width, r.height}; }
