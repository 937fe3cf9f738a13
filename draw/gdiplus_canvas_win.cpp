#include "draw/gdiplus_canvas_win.h"

#include <memory>

namespace {

Gdiplus::PointF ToGdiplus(PointF p) { return {p.x, p.y}; }
Gdiplus::RectF ToGdiplus(const RectF& r) { return {r.x, r.y, r.width, r.height}; }
Gdiplus::Color ToGdiplus(Argb colour) { return Gdiplus::Color(Gdiplus::ARGB(colour)); }

std::vector<Gdiplus::PointF> ToGdiplus(std::span<const PointF> points) {
  std::vector<Gdiplus::PointF> out;
  out.reserve(points.size());
  for (PointF p : points) out.push_back(ToGdiplus(p));
  return out;
}

std::unique_ptr<Gdiplus::Brush> MakeBrush(const Brush& brush) {
  if (brush.gradient && !(brush.gradient->start == brush.gradient->end)) {
    const LinearGradient& g = *brush.gradient;
    auto linear = std::make_unique<Gdiplus::LinearGradientBrush>(ToGdiplus(g.start), ToGdiplus(g.end),
                                                                  ToGdiplus(g.startColour), ToGdiplus(g.endColour));
    linear->SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    return linear;
  }
  return std::make_unique<Gdiplus::SolidBrush>(ToGdiplus(brush.colour));
}

std::unique_ptr<Gdiplus::Pen> MakePen(const Stroke& stroke) {
  auto pen = std::make_unique<Gdiplus::Pen>(ToGdiplus(stroke.colour), stroke.width);
  const bool round = stroke.cap == LineCap::Round;
  pen->SetLineCap(round ? Gdiplus::LineCapRound : Gdiplus::LineCapFlat,
                  round ? Gdiplus::LineCapRound : Gdiplus::LineCapFlat,
                  round ? Gdiplus::DashCapRound : Gdiplus::DashCapFlat);
  pen->SetLineJoin(stroke.join == LineJoin::Round ? Gdiplus::LineJoinRound : Gdiplus::LineJoinMiter);
  return pen;
}

Path RoundedRect(const RectF& rect, float radius) { return Path().AddRoundedRectangle(rect, radius); }

}  // namespace

void BuildGdiplusPath(const Path& path, Gdiplus::GraphicsPath& out) {
  Gdiplus::PointF current;
  for (const PathSegment& segment : path.Segments()) {
    const Gdiplus::PointF end = ToGdiplus(segment.points[0]);
    switch (segment.op) {
      case PathOp::Move:
        out.StartFigure();
        current = end;
        break;
      case PathOp::Line:
        out.AddLine(current, end);
        current = end;
        break;
      case PathOp::Bezier:
        out.AddBezier(current, end, ToGdiplus(segment.points[1]), ToGdiplus(segment.points[2]));
        current = ToGdiplus(segment.points[2]);
        break;
      case PathOp::Arc:
        out.AddArc(ToGdiplus(segment.arcBox), segment.startAngle, segment.sweepAngle);
        out.GetLastPoint(&current);
        break;
      case PathOp::Close:
        out.CloseFigure();
        break;
    }
  }
}

GdiplusCanvas::GdiplusCanvas(Gdiplus::Graphics& graphics, GdiplusFonts& fonts) : graphics_(graphics), fonts_(fonts) {
  UseSmoothDrawing(graphics_);
}

GdiplusCanvas::~GdiplusCanvas() {
  if (!states_.empty()) graphics_.Restore(states_.front());
}

void GdiplusCanvas::Check(Gdiplus::Status status) {
  if (status != Gdiplus::Ok) lastStatus_ = status;
}

void GdiplusCanvas::DrawString(std::wstring_view text, const FontSpec& font, Argb colour,
                               const Gdiplus::RectF& layout, const Gdiplus::StringFormat* format) {
  if (text.empty()) return;
  const Gdiplus::Font* made = fonts_.Get(font);
  if (!made) {
    lastStatus_ = Gdiplus::InvalidParameter;
    return;
  }
  Gdiplus::SolidBrush brush(ToGdiplus(colour));
  Check(graphics_.DrawString(text.data(), GdiplusLength(text), made, layout, format, &brush));
}

void GdiplusCanvas::DrawGlyphs(std::wstring_view text, const FontSpec& font, Argb colour, PointF topLeft) {
  DrawString(text, font, colour, Gdiplus::RectF(topLeft.x, topLeft.y, 0, 0), fonts_.GlyphFormat());
}

void GdiplusCanvas::DrawTextBox(std::wstring_view text, const FontSpec& font, Argb colour, const RectF& box,
                                const TextBoxFormat& format) {
  if (box.IsEmpty()) return;
  DrawString(text, font, colour, ToGdiplus(box), MakeTextBoxFormat(format).get());
}

void GdiplusCanvas::DrawLine(PointF from, PointF to, const Stroke& stroke) {
  Check(graphics_.DrawLine(MakePen(stroke).get(), ToGdiplus(from), ToGdiplus(to)));
}

void GdiplusCanvas::DrawPolyline(std::span<const PointF> points, const Stroke& stroke) {
  if (points.size() < 2) return;
  const std::vector<Gdiplus::PointF> converted = ToGdiplus(points);
  Check(graphics_.DrawLines(MakePen(stroke).get(), converted.data(), INT(converted.size())));
}

void GdiplusCanvas::DrawCurve(std::span<const PointF> points, float tension, const Stroke& stroke) {
  if (points.size() < 2) return;
  const std::vector<Gdiplus::PointF> converted = ToGdiplus(points);
  Check(graphics_.DrawCurve(MakePen(stroke).get(), converted.data(), INT(converted.size()), tension));
}

void GdiplusCanvas::FillRect(const RectF& rect, const Brush& brush) {
  if (rect.IsEmpty()) return;
  Check(graphics_.FillRectangle(MakeBrush(brush).get(), ToGdiplus(rect)));
}

void GdiplusCanvas::FillRoundedRect(const RectF& rect, float radius, const Brush& brush) {
  FillShape(RoundedRect(rect, radius), brush);
}

void GdiplusCanvas::StrokeRoundedRect(const RectF& rect, float radius, const Stroke& stroke) {
  StrokeShape(RoundedRect(rect, radius), stroke);
}

void GdiplusCanvas::FillEllipse(const RectF& bounds, const Brush& brush) {
  if (bounds.IsEmpty()) return;
  Check(graphics_.FillEllipse(MakeBrush(brush).get(), ToGdiplus(bounds)));
}

void GdiplusCanvas::StrokeEllipse(const RectF& bounds, const Stroke& stroke) {
  if (bounds.IsEmpty()) return;
  Check(graphics_.DrawEllipse(MakePen(stroke).get(), ToGdiplus(bounds)));
}

void GdiplusCanvas::FillPath(const Path& path, const Brush& brush) { FillShape(path, brush); }

void GdiplusCanvas::StrokePath(const Path& path, const Stroke& stroke) { StrokeShape(path, stroke); }

void GdiplusCanvas::FillShape(const Path& path, const Brush& brush) {
  if (path.IsEmpty()) return;
  Gdiplus::GraphicsPath shape;
  BuildGdiplusPath(path, shape);
  Check(graphics_.FillPath(MakeBrush(brush).get(), &shape));
}

void GdiplusCanvas::StrokeShape(const Path& path, const Stroke& stroke) {
  if (path.IsEmpty()) return;
  Gdiplus::GraphicsPath shape;
  BuildGdiplusPath(path, shape);
  Check(graphics_.DrawPath(MakePen(stroke).get(), &shape));
}

void GdiplusCanvas::PushClip(const RectF& rect) {
  states_.push_back(graphics_.Save());
  Check(graphics_.IntersectClip(ToGdiplus(rect)));
}

void GdiplusCanvas::PushRoundedClip(const RectF& rect, float radius) {
  states_.push_back(graphics_.Save());
  Gdiplus::GraphicsPath shape;
  BuildGdiplusPath(RoundedRect(rect, radius), shape);
  Check(graphics_.SetClip(&shape, Gdiplus::CombineModeIntersect));
}

void GdiplusCanvas::PushScale(float scaleX, float scaleY) {
  states_.push_back(graphics_.Save());
  Check(graphics_.ScaleTransform(scaleX, scaleY));
}

void GdiplusCanvas::Pop() {
  if (states_.empty()) return;
  Check(graphics_.Restore(states_.back()));
  states_.pop_back();
}
