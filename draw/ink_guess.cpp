#include "draw/ink_guess.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace {

constexpr float kLimit = 1 << 24;

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

// Glyphs mostly stay within the box their font measures and an em around it.
Box GlyphsBox(const DrawCall& call, GlyphMeasurer& measurer) {
  Box box;
  if (call.text.empty()) return box;
  const float em = std::abs(call.font.pixelSize);
  const PointF at = call.points.empty() ? PointF{} : call.points[0];
  SizeF size = measurer.Measure(call.text, call.font);
  if (!(size.width >= 0 && size.height > 0 && std::isfinite(size.width) && std::isfinite(size.height))) size = {};
  box.Add(at);
  box.Add(PointF{at.x + size.width, at.y + size.height});
  return box.Inflated(em);
}

// A text box's text is placed in its box by its alignment, and may overflow it.
Box TextBoxBox(const DrawCall& call, GlyphMeasurer& measurer) {
  Box box;
  box.Add(call.rect);
  if (call.text.empty()) return box;
  SizeF size = call.textFormat.wrap ? measurer.MeasureWrapped(call.text, call.font, call.rect.width)
                                    : measurer.Measure(call.text, call.font);
  if (!(std::isfinite(size.width) && std::isfinite(size.height))) size = {};
  auto start = [](TextAlign align, float from, float room, float used) {
    return align == TextAlign::Near ? from : align == TextAlign::Center ? from + (room - used) / 2 : from + room - used;
  };
  const float x = start(call.textFormat.horizontal, call.rect.x, call.rect.width, size.width);
  const float y = start(call.textFormat.vertical, call.rect.y, call.rect.height, size.height);
  box.Add(RectF{x, y, size.width, size.height});
  return box.Inflated(std::abs(call.font.pixelSize));
}

// In the call's own units.
Box InkBox(const DrawCall& call, GlyphMeasurer& measurer) {
  Box box;
  switch (call.kind) {
    case DrawCallKind::Glyphs: return GlyphsBox(call, measurer);
    case DrawCallKind::TextBox: return TextBoxBox(call, measurer);
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

int Edge(float value) { return int(std::clamp(value, -kLimit, kLimit)); }

}  // namespace

InkGuess GuessInk(const DrawCall& call, PointF scale, GlyphMeasurer& measurer) {
  InkGuess guess;
  if (call.kind == DrawCallKind::Glyphs || call.kind == DrawCallKind::TextBox) {
    // Within the em around the text: deeper than the gap between a text box's lines.
    const float line = 0.75f * std::abs(call.font.pixelSize) * std::max(std::abs(scale.x), std::abs(scale.y));
    guess.rim = int(std::clamp(std::ceil(line), 1.0f, 4096.0f));
  }
  const Box box = InkBox(call, measurer);
  const float x0 = box.left * scale.x, x1 = box.right * scale.x, y0 = box.top * scale.y, y1 = box.bottom * scale.y;
  if (!(box.left <= box.right && box.top <= box.bottom) || std::isnan(x0 + x1 + y0 + y1)) return guess;
  guess.area = {Edge(std::floor(std::min(x0, x1)) - 2), Edge(std::floor(std::min(y0, y1)) - 2),
                Edge(std::ceil(std::max(x0, x1)) + 2), Edge(std::ceil(std::max(y0, y1)) + 2)};
  return guess;
}

std::optional<Argb> OpaqueFillCovering(const DrawCall& call, PointF scale, const PixelRect& area) {
  if (call.kind != DrawCallKind::FillRect || call.brush.gradient || (call.brush.colour >> 24) != 0xFF) return {};
  if (!(scale.x > 0 && scale.y > 0)) return {};
  const RectF& r = call.rect;
  // Pixel i is covered whole when [i, i + 1] lies within the rectangle's device span.
  const bool covers = std::ceil(r.x * scale.x) <= float(area.left) && std::floor(r.Right() * scale.x) >= float(area.right) &&
                      std::ceil(r.y * scale.y) <= float(area.top) && std::floor(r.Bottom() * scale.y) >= float(area.bottom);
  if (!covers) return {};
  return call.brush.colour;
}
