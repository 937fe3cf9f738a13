#include "draw/path.h"

#include <algorithm>

namespace {

PathSegment Segment(PathOp op, PointF a = {}, PointF b = {}, PointF c = {}) {
  PathSegment segment;
  segment.op = op;
  segment.points[0] = a;
  segment.points[1] = b;
  segment.points[2] = c;
  return segment;
}

}  // namespace

Path& Path::MoveTo(PointF point) {
  segments_.push_back(Segment(PathOp::Move, point));
  return *this;
}

Path& Path::LineTo(PointF point) {
  segments_.push_back(Segment(PathOp::Line, point));
  return *this;
}

Path& Path::BezierTo(PointF control1, PointF control2, PointF end) {
  segments_.push_back(Segment(PathOp::Bezier, control1, control2, end));
  return *this;
}

Path& Path::ArcTo(const RectF& ellipseBox, float startAngle, float sweepAngle) {
  PathSegment arc = Segment(PathOp::Arc);
  arc.arcBox = ellipseBox;
  arc.startAngle = startAngle;
  arc.sweepAngle = sweepAngle;
  segments_.push_back(arc);
  return *this;
}

Path& Path::Close() {
  segments_.push_back(Segment(PathOp::Close));
  return *this;
}

Path& Path::AddRoundedRectangle(const RectF& rect, float radius) {
  if (rect.IsEmpty()) return *this;
  const float r = std::min(radius, std::min(rect.width, rect.height) / 2);
  if (!(r > 0)) {
    return MoveTo({rect.x, rect.y})
        .LineTo({rect.Right(), rect.y})
        .LineTo({rect.Right(), rect.Bottom()})
        .LineTo({rect.x, rect.Bottom()})
        .Close();
  }
  const float d = 2 * r;
  return ArcTo({rect.x, rect.y, d, d}, 180, 90)
      .ArcTo({rect.Right() - d, rect.y, d, d}, 270, 90)
      .ArcTo({rect.Right() - d, rect.Bottom() - d, d, d}, 0, 90)
      .ArcTo({rect.x, rect.Bottom() - d, d, d}, 90, 90)
      .Close();
}
