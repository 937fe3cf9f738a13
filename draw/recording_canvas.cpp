#include "draw/recording_canvas.h"

#include <charconv>
#include <cstdio>

#include "core/utf.h"

namespace {

std::string Number(float value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : "?";
}

std::string Colour(Argb colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%08X", unsigned(colour));
  return buffer;
}

std::string Point(PointF p) { return "(" + Number(p.x) + "," + Number(p.y) + ")"; }

std::string Rect(const RectF& r) {
  return "(" + Number(r.x) + "," + Number(r.y) + " " + Number(r.width) + "x" + Number(r.height) + ")";
}

std::string Points(const std::vector<PointF>& points) {
  std::string out;
  for (const PointF& p : points) out += Point(p);
  return out;
}

std::string Fill(const Brush& brush) {
  if (!brush.gradient) return " fill=" + Colour(brush.colour);
  const LinearGradient& g = *brush.gradient;
  return " gradient=" + Colour(g.startColour) + "@" + Point(g.start) + ".." + Colour(g.endColour) + "@" +
         Point(g.end);
}

std::string Pen(const Stroke& stroke) {
  return " stroke=" + Colour(stroke.colour) + " width=" + Number(stroke.width) +
         (stroke.cap == LineCap::Round ? " round-caps" : "") +
         (stroke.join == LineJoin::Round ? " round-joins" : "");
}

std::string Font(const FontSpec& font) {
  return " font=\"" + WideToUtf8(font.family) + "\" " + Number(font.pixelSize) + "px" +
         (font.style & kFontBold ? " bold" : "") + (font.style & kFontItalic ? " italic" : "");
}

const char* AlignName(TextAlign align) {
  switch (align) {
    case TextAlign::Near: return "near";
    case TextAlign::Center: return "center";
    case TextAlign::Far: return "far";
  }
  return "?";
}

std::string Segments(const Path& path) {
  std::string out;
  for (const PathSegment& s : path.Segments()) {
    switch (s.op) {
      case PathOp::Move: out += " M" + Point(s.points[0]); break;
      case PathOp::Line: out += " L" + Point(s.points[0]); break;
      case PathOp::Bezier: out += " C" + Point(s.points[0]) + Point(s.points[1]) + Point(s.points[2]); break;
      case PathOp::Arc:
        out += " A" + Rect(s.arcBox) + " " + Number(s.startAngle) + "+" + Number(s.sweepAngle);
        break;
      case PathOp::Close: out += " Z"; break;
    }
  }
  return out;
}

}  // namespace

const char* DrawCallKindName(DrawCallKind kind) {
  switch (kind) {
    case DrawCallKind::Glyphs: return "Glyphs";
    case DrawCallKind::TextBox: return "TextBox";
    case DrawCallKind::Line: return "Line";
    case DrawCallKind::Polyline: return "Polyline";
    case DrawCallKind::Curve: return "Curve";
    case DrawCallKind::FillRect: return "FillRect";
    case DrawCallKind::FillRoundedRect: return "FillRoundedRect";
    case DrawCallKind::StrokeRoundedRect: return "StrokeRoundedRect";
    case DrawCallKind::FillEllipse: return "FillEllipse";
    case DrawCallKind::StrokeEllipse: return "StrokeEllipse";
    case DrawCallKind::FillPath: return "FillPath";
    case DrawCallKind::StrokePath: return "StrokePath";
    case DrawCallKind::PushClip: return "PushClip";
    case DrawCallKind::PushRoundedClip: return "PushRoundedClip";
    case DrawCallKind::PushScale: return "PushScale";
    case DrawCallKind::Pop: return "Pop";
  }
  return "?";
}

std::string DescribeDrawCall(const DrawCall& call) {
  std::string line = DrawCallKindName(call.kind);
  switch (call.kind) {
    case DrawCallKind::Glyphs:
      line += " \"" + WideToUtf8(call.text) + "\" at " + Point(call.points.empty() ? PointF{} : call.points.front()) + Font(call.font) + Fill(call.brush);
      break;
    case DrawCallKind::TextBox:
      line += " \"" + WideToUtf8(call.text) + "\" in " + Rect(call.rect) + Font(call.font) + Fill(call.brush) +
              " align=" + AlignName(call.textFormat.horizontal) + "/" + AlignName(call.textFormat.vertical) +
              (call.textFormat.wrap ? " wrap" : "") + (call.textFormat.ellipsis ? " ellipsis" : "");
      break;
    case DrawCallKind::Line:
    case DrawCallKind::Polyline:
      line += " " + Points(call.points) + Pen(call.stroke);
      break;
    case DrawCallKind::Curve:
      line += " " + Points(call.points) + " tension=" + Number(call.tension) + Pen(call.stroke);
      break;
    case DrawCallKind::FillRect:
    case DrawCallKind::FillEllipse:
      line += " rect=" + Rect(call.rect) + Fill(call.brush);
      break;
    case DrawCallKind::FillRoundedRect:
      line += " rect=" + Rect(call.rect) + " radius=" + Number(call.radius) + Fill(call.brush);
      break;
    case DrawCallKind::StrokeRoundedRect:
      line += " rect=" + Rect(call.rect) + " radius=" + Number(call.radius) + Pen(call.stroke);
      break;
    case DrawCallKind::StrokeEllipse:
      line += " rect=" + Rect(call.rect) + Pen(call.stroke);
      break;
    case DrawCallKind::FillPath:
      line += Segments(call.path) + Fill(call.brush);
      break;
    case DrawCallKind::StrokePath:
      line += Segments(call.path) + Pen(call.stroke);
      break;
    case DrawCallKind::PushClip:
      line += " rect=" + Rect(call.rect);
      break;
    case DrawCallKind::PushRoundedClip:
      line += " rect=" + Rect(call.rect) + " radius=" + Number(call.radius);
      break;
    case DrawCallKind::PushScale:
      line += " " + Number(call.scale.x) + "x" + Number(call.scale.y);
      break;
    case DrawCallKind::Pop:
      break;
  }
  return line + " depth=" + std::to_string(call.depth);
}

DrawCall& RecordingCanvas::Record(DrawCallKind kind) {
  DrawCall& call = calls_.emplace_back();
  call.kind = kind;
  call.depth = depth_;
  return call;
}

DrawCall& RecordingCanvas::RecordText(DrawCallKind kind, std::wstring_view text, const FontSpec& font, Argb colour) {
  DrawCall& call = Record(kind);
  call.text = text;
  call.font = font;
  call.brush = colour;
  return call;
}

DrawCall& RecordingCanvas::RecordPoints(DrawCallKind kind, std::span<const PointF> points, const Stroke& stroke) {
  DrawCall& call = Record(kind);
  call.points.assign(points.begin(), points.end());
  call.stroke = stroke;
  return call;
}

DrawCall& RecordingCanvas::RecordRect(DrawCallKind kind, const RectF& rect, float radius) {
  DrawCall& call = Record(kind);
  call.rect = rect;
  call.radius = radius;
  return call;
}

void RecordingCanvas::DrawGlyphs(std::wstring_view text, const FontSpec& font, Argb colour, PointF topLeft) {
  RecordText(DrawCallKind::Glyphs, text, font, colour).points = {topLeft};
}

void RecordingCanvas::DrawTextBox(std::wstring_view text, const FontSpec& font, Argb colour, const RectF& box,
                                  const TextBoxFormat& format) {
  DrawCall& call = RecordText(DrawCallKind::TextBox, text, font, colour);
  call.rect = box;
  call.textFormat = format;
}

void RecordingCanvas::DrawLine(PointF from, PointF to, const Stroke& stroke) {
  const PointF ends[] = {from, to};
  RecordPoints(DrawCallKind::Line, ends, stroke);
}

void RecordingCanvas::DrawPolyline(std::span<const PointF> points, const Stroke& stroke) {
  RecordPoints(DrawCallKind::Polyline, points, stroke);
}

void RecordingCanvas::DrawCurve(std::span<const PointF> points, float tension, const Stroke& stroke) {
  RecordPoints(DrawCallKind::Curve, points, stroke).tension = tension;
}

void RecordingCanvas::FillRect(const RectF& rect, const Brush& brush) {
  RecordRect(DrawCallKind::FillRect, rect).brush = brush;
}

void RecordingCanvas::FillRoundedRect(const RectF& rect, float radius, const Brush& brush) {
  RecordRect(DrawCallKind::FillRoundedRect, rect, radius).brush = brush;
}

void RecordingCanvas::StrokeRoundedRect(const RectF& rect, float radius, const Stroke& stroke) {
  RecordRect(DrawCallKind::StrokeRoundedRect, rect, radius).stroke = stroke;
}

void RecordingCanvas::FillEllipse(const RectF& bounds, const Brush& brush) {
  RecordRect(DrawCallKind::FillEllipse, bounds).brush = brush;
}

void RecordingCanvas::StrokeEllipse(const RectF& bounds, const Stroke& stroke) {
  RecordRect(DrawCallKind::StrokeEllipse, bounds).stroke = stroke;
}

void RecordingCanvas::FillPath(const Path& path, const Brush& brush) {
  DrawCall& call = Record(DrawCallKind::FillPath);
  call.path = path;
  call.brush = brush;
}

void RecordingCanvas::StrokePath(const Path& path, const Stroke& stroke) {
  DrawCall& call = Record(DrawCallKind::StrokePath);
  call.path = path;
  call.stroke = stroke;
}

void RecordingCanvas::PushClip(const RectF& rect) {
  RecordRect(DrawCallKind::PushClip, rect);
  ++depth_;
}

void RecordingCanvas::PushRoundedClip(const RectF& rect, float radius) {
  RecordRect(DrawCallKind::PushRoundedClip, rect, radius);
  ++depth_;
}

void RecordingCanvas::PushScale(float scaleX, float scaleY) {
  Record(DrawCallKind::PushScale).scale = {scaleX, scaleY};
  ++depth_;
}

void RecordingCanvas::Pop() {
  if (depth_ == 0) {
    ++unmatchedPops_;
  } else {
    --depth_;
  }
  Record(DrawCallKind::Pop);
}

std::vector<const DrawCall*> RecordingCanvas::CallsOf(DrawCallKind kind) const {
  std::vector<const DrawCall*> found;
  for (const DrawCall& call : calls_) {
    if (call.kind == kind) found.push_back(&call);
  }
  return found;
}

size_t RecordingCanvas::CountOf(DrawCallKind kind) const { return CallsOf(kind).size(); }

std::vector<std::wstring> RecordingCanvas::Texts() const {
  std::vector<std::wstring> texts;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawCallKind::Glyphs || call.kind == DrawCallKind::TextBox) texts.push_back(call.text);
  }
  return texts;
}

std::string RecordingCanvas::Describe() const {
  std::string out;
  for (const DrawCall& call : calls_) out += DescribeDrawCall(call) + "\n";
  return out;
}

void RecordingCanvas::Clear() {
  calls_.clear();
  depth_ = 0;
  unmatchedPops_ = 0;
}
