#pragma once
// Float geometry of drawing: points, sizes and rectangles in the units of the current world
// transform (logical pixels for the panel).

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

// The bounding box of a circle.
inline RectF CircleBounds(PointF centre, float radius) {
  return {centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
}
