#pragma once
// A figure outline built from moves, lines, cubic Bézier curves, elliptic arcs and closes, to be
// filled or stroked by a Canvas. Arcs follow the usual Windows convention: angles in degrees,
// clockwise from the positive x axis (y grows downwards); an arc that starts away from the current
// point is joined to it by a straight line.
#include <vector>

#include "draw/geometry.h"

enum class PathOp { Move, Line, Bezier, Arc, Close };

struct PathSegment {
  PathOp op = PathOp::Move;
  PointF points[3] = {};  // Move, Line: the end point; Bezier: two control points and the end
  RectF arcBox;           // Arc: the bounding box of the whole ellipse
  float startAngle = 0;   // Arc
  float sweepAngle = 0;   // Arc
  bool operator==(const PathSegment&) const = default;
};

class Path {
 public:
  Path& MoveTo(PointF point);
  Path& LineTo(PointF point);
  Path& BezierTo(PointF control1, PointF control2, PointF end);
  Path& ArcTo(const RectF& ellipseBox, float startAngle, float sweepAngle);
  Path& Close();

  // A closed rounded rectangle: the radius is cut to half the smaller side; with no radius left it
  // is a plain rectangle, and an empty rectangle adds nothing. Corners from the top left, clockwise.
  Path& AddRoundedRectangle(const RectF& rect, float radius);

  const std::vector<PathSegment>& Segments() const { return segments_; }
  bool IsEmpty() const { return segments_.empty(); }
  bool operator==(const Path&) const = default;

 private:
  std::vector<PathSegment> segments_;
};
