#include "draw/sprite_area.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/sprite.h"

namespace {

struct Box {
  float left = std::numeric_limits<float>::infinity();
  float top = std::numeric_limits<float>::infinity();
  float right = -std::numeric_limits<float>::infinity();
  float bottom = -std::numeric_limits<float>::infinity();

  void Add(PointF p) {
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
  }
  void Add(const RectF& r) {
    Add(PointF{r.x, r.y});
    Add(PointF{r.Right(), r.Bottom()});
  }
  Box Inflated(float by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// A stroke reaches beyond its path by half its width, and a miter up to ten half widths.
float StrokeReach(const Stroke& stroke) { return 5 * std::abs(stroke.width) + 1; }

// The points a cardinal spline bends towards: its points and their Bézier control points.
void AddCurve(Box& box, std::span<const PointF> points, float tension) {
  for (size_t i = 0; i < points.size(); ++i) {
    box.Add(points[i]);
    const PointF before = points[i == 0 ? 0 : i - 1], after = points[std::min(i + 1, points.size() - 1)];
    const float dx = tension * (after.x - before.x) / 3, dy = tension * (after.y - before.y) / 3;
    box.Add(PointF{points[i].x - dx, points[i].y - dy});
    box.Add(PointF{points[i].x + dx, points[i].y + dy});
  }
}

void AddPath(Box& box, const Path& path) {
  for (const PathSegment& segment : path.Segments()) {
    switch (segment.op) {
      case PathOp::Bezier:
        for (PointF p : segment.points) box.Add(p);
        break;
      case PathOp::Arc: box.Add(segment.arcBox); break;
      case PathOp::Close: break;
      default: box.Add(segment.points[0]); break;
    }
  }
}

// Glyphs stay within the box their font measures, but for an overhang of less than an em. When
// the measure is unusable, no glyph is wider than 1.5 em, and a font's lines are less than 8 em high.
Box GlyphsBox(const DrawCall& call, GlyphMeasurer& measurer) {
  Box box;
  if (call.text.empty()) return box;
  const float em = std::abs(call.font.pixelSize);
  const PointF at = call.points.empty() ? PointF{} : call.points[0];
  SizeF size = measurer.Measure(call.text, call.font);
  if (!(size.width >= 0 && size.height > 0 && std::isfinite(size.width) && std::isfinite(size.height))) {
    size = {1.5f * em * float(call.text.size()), 8 * em};
  }
  box.Add(at);
  box.Add(PointF{at.x + size.width, at.y + size.height});
  return box.Inflated(em);
}

// In the call's own units.
Box InkBox(const DrawCall& call, GlyphMeasurer& measurer) {
  Box box;
  const float size = std::abs(call.font.pixelSize);
  switch (call.kind) {
    case DrawCallKind::Glyphs: return GlyphsBox(call, measurer);
    case DrawCallKind::TextBox: box.Add(call.rect); return box.Inflated(size);
    case DrawCallKind::Line:
    case DrawCallKind::Polyline:
      for (PointF p : call.points) box.Add(p);
      return box.Inflated(StrokeReach(call.stroke));
    case DrawCallKind::Curve: AddCurve(box, call.points, call.tension); return box.Inflated(StrokeReach(call.stroke));
    case DrawCallKind::FillRect:
    case DrawCallKind::FillRoundedRect:
    case DrawCallKind::FillEllipse: box.Add(call.rect); return box;
    case DrawCallKind::StrokeRoundedRect:
    case DrawCallKind::StrokeEllipse: box.Add(call.rect); return box.Inflated(StrokeReach(call.stroke));
    case DrawCallKind::FillPath: AddPath(box, call.path); return box;
    case DrawCallKind::StrokePath: AddPath(box, call.path); return box.Inflated(StrokeReach(call.stroke));
    default: return box;  // pushes and pops leave no pixels
  }
}

// Whole pixels around `box` scaled by `scale`, with two more for smoothing, within `limit`; what
// is not finite reaches to the limit's edge.
PixelRect DevicePixels(const Box& box, PointF scale, const PixelRect& limit) {
  if (!(box.left <= box.right && box.top <= box.bottom)) return {};
  auto edge = [](float value, int low, int high) {
    return int(std::clamp(value, float(low), float(high)));
  };
  const float x0 = box.left * scale.x, x1 = box.right * scale.x, y0 = box.top * scale.y, y1 = box.bottom * scale.y;
  const float left = std::isnan(x0) || std::isnan(x1) ? -INFINITY : std::min(x0, x1);
  const float right = std::isnan(x0) || std::isnan(x1) ? INFINITY : std::max(x0, x1);
  const float top = std::isnan(y0) || std::isnan(y1) ? -INFINITY : std::min(y0, y1);
  const float bottom = std::isnan(y0) || std::isnan(y1) ? INFINITY : std::max(y0, y1);
  return Intersect(limit, {edge(std::floor(left) - 2, limit.left, limit.right),
                           edge(std::floor(top) - 2, limit.top, limit.bottom),
                           edge(std::ceil(right) + 2, limit.left, limit.right),
                           edge(std::ceil(bottom) + 2, limit.top, limit.bottom)});
}

}  // namespace

PixelRect SpriteArea(const DrawCall& call, std::span<const DrawCall> pushes, float scale, int width, int height,
                     GlyphMeasurer& measurer) {
  PixelRect area{0, 0, width, height};
  PointF scales{scale, scale};
  for (const DrawCall& push : pushes) {
    if (push.kind == DrawCallKind::PushScale) {
      scales = {scales.x * push.scale.x, scales.y * push.scale.y};
    } else if (push.kind == DrawCallKind::PushClip || push.kind == DrawCallKind::PushRoundedClip) {
      Box clip;
      clip.Add(push.rect);
      area = DevicePixels(clip, scales, area);
    }
  }
  return DevicePixels(InkBox(call, measurer), scales, area);
}

std::optional<Argb> WholeOpaqueFill(const DrawCall& call, std::span<const DrawCall> pushes, float scale,
                                    const PixelRect& area) {
  if (call.kind != DrawCallKind::FillRect || call.brush.gradient || (call.brush.colour >> 24) != 0xFF) return {};
  PointF scales{scale, scale};
  for (const DrawCall& push : pushes) {
    if (push.kind != DrawCallKind::PushScale) return {};
    scales = {scales.x * push.scale.x, scales.y * push.scale.y};
  }
  if (!(scales.x > 0 && scales.y > 0)) return {};
  const RectF& r = call.rect;
  // Pixel i is covered whole when [i, i + 1] lies within the rectangle's device span.
  const bool covers = std::ceil(r.x * scales.x) <= float(area.left) && std::floor(r.Right() * scales.x) >= float(area.right) &&
                      std::ceil(r.y * scales.y) <= float(area.top) && std::floor(r.Bottom() * scales.y) >= float(area.bottom);
  if (!covers) return {};
  return call.brush.colour;
}
