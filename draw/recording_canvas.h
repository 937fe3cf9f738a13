#pragma once
// A Canvas that draws nothing and keeps every call with its arguments: the frame the panel's
// painter records before drawing only what changed (FrameBuffer), and what tests of layout and
// painting code inspect (find the calls of a kind, check their geometry, print them on failure).
#include <string>
#include <vector>

#include "draw/canvas.h"

enum class DrawCallKind {
  Glyphs,
  TextBox,
  Line,
  Polyline,
  Curve,
  FillRect,
  FillRoundedRect,
  StrokeRoundedRect,
  FillEllipse,
  StrokeEllipse,
  FillPath,
  StrokePath,
  PushClip,
  PushRoundedClip,
  PushScale,
  Pop,
};

// One recorded call. Only the fields of its kind are set:
//   Glyphs: text, font, brush.colour, points[0] (top left)    TextBox: text, font, brush.colour, rect, textFormat
//   Line, Polyline: points, stroke                            Curve: points, tension, stroke
//   Fill*: rect (or path), brush, radius for rounded ones     Stroke*: rect (or path), stroke, radius
//   PushClip: rect                                            PushRoundedClip: rect, radius
//   PushScale: scale                                          Pop: nothing
// `depth` is the number of states pushed and not yet popped when the call was made; a push and its
// Pop carry the same depth (the one outside them).
struct DrawCall {
  DrawCallKind kind = DrawCallKind::Pop;
  std::wstring text;
  FontSpec font;
  TextBoxFormat textFormat;
  std::vector<PointF> points;
  float tension = 0;
  RectF rect;
  float radius = 0;
  Path path;
  Brush brush;
  Stroke stroke;
  PointF scale;
  int depth = 0;
  bool operator==(const DrawCall&) const = default;
};

const char* DrawCallKindName(DrawCallKind kind);
// One readable line, e.g. `FillRoundedRect rect=(10,20 30x40) radius=5 fill=#FF112233 depth=1`.
std::string DescribeDrawCall(const DrawCall& call);

class RecordingCanvas : public Canvas {
 public:
  void DrawGlyphs(std::wstring_view text, const FontSpec& font, Argb colour, PointF topLeft) override;
  void DrawTextBox(std::wstring_view text, const FontSpec& font, Argb colour, const RectF& box,
                   const TextBoxFormat& format) override;
  void DrawLine(PointF from, PointF to, const Stroke& stroke) override;
  void DrawPolyline(std::span<const PointF> points, const Stroke& stroke) override;
  void DrawCurve(std::span<const PointF> points, float tension, const Stroke& stroke) override;
  void FillRect(const RectF& rect, const Brush& brush) override;
  void FillRoundedRect(const RectF& rect, float radius, const Brush& brush) override;
  void StrokeRoundedRect(const RectF& rect, float radius, const Stroke& stroke) override;
  void FillEllipse(const RectF& bounds, const Brush& brush) override;
  void StrokeEllipse(const RectF& bounds, const Stroke& stroke) override;
  void FillPath(const Path& path, const Brush& brush) override;
  void StrokePath(const Path& path, const Stroke& stroke) override;
  void PushClip(const RectF& rect) override;
  void PushRoundedClip(const RectF& rect, float radius) override;
  void PushScale(float scaleX, float scaleY) override;
  void Pop() override;

  const std::vector<DrawCall>& Calls() const { return calls_; }
  // The calls of one kind, in order.
  std::vector<const DrawCall*> CallsOf(DrawCallKind kind) const;
  size_t CountOf(DrawCallKind kind) const;
  // The texts of the glyph strings and text boxes, in drawing order.
  std::vector<std::wstring> Texts() const;
  // Every call, one line each.
  std::string Describe() const;

  // States pushed and not popped yet; Pops that found nothing to pop.
  int Depth() const { return depth_; }
  int UnmatchedPops() const { return unmatchedPops_; }
  void Clear();

 private:
  DrawCall& Record(DrawCallKind kind);
  DrawCall& RecordText(DrawCallKind kind, std::wstring_view text, const FontSpec& font, Argb colour);
  DrawCall& RecordPoints(DrawCallKind kind, std::span<const PointF> points, const Stroke& stroke);
  DrawCall& RecordRect(DrawCallKind kind, const RectF& rect, float radius = 0);

  std::vector<DrawCall> calls_;
  int depth_ = 0;
  int unmatchedPops_ = 0;
};
