#pragma once
// The drawing surface that layout and painting code draws on, with no platform types: glyph strings,
// text boxes, lines and curves, rectangles, ellipses and paths, filled with a solid colour or a
// linear gradient, under a stack of clips and world scales. Coordinates are in the units of the
// current world transform. Bad input (an empty rectangle, fewer than two points, an empty string)
// draws nothing.
#include <optional>
#include <span>
#include <string_view>

#include "draw/argb.h"
#include "draw/font.h"
#include "draw/geometry.h"
#include "draw/path.h"

enum class LineCap { Flat, Round };
enum class LineJoin { Miter, Round };

// The pen of lines, curves and outlines.
struct Stroke {
  Argb colour = 0xFF000000;
  float width = 1;
  LineCap cap = LineCap::Flat;  // both ends
  LineJoin join = LineJoin::Miter;
  bool operator==(const Stroke&) const = default;
};

// Colour from `startColour` at `start` to `endColour` at `end`, constant across the line between
// them; beyond the two points it repeats mirrored.
struct LinearGradient {
  PointF start;
  PointF end;
  Argb startColour = 0;
  Argb endColour = 0;
  bool operator==(const LinearGradient&) const = default;
};

// What an area is filled with: a solid colour, or a linear gradient when `gradient` is set.
struct Brush {
  Brush(Argb solid = 0) : colour(solid) {}
  Brush(const LinearGradient& linear) : colour(linear.startColour), gradient(linear) {}
  Argb colour;
  std::optional<LinearGradient> gradient;
  bool operator==(const Brush&) const = default;
};

enum class TextAlign { Near, Center, Far };

// How a text box places its text: alignment along each axis, wrapping at word boundaries (else one
// line), and an ellipsis where the text does not fit.
struct TextBoxFormat {
  TextAlign horizontal = TextAlign::Near;
  TextAlign vertical = TextAlign::Near;
  bool wrap = false;
  bool ellipsis = false;
  bool operator==(const TextBoxFormat&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // One line of glyphs with its top-left corner at `topLeft`, laid out exactly as
  // GlyphMeasurer::Measure measures it.
  virtual void DrawGlyphs(std::wstring_view text, const FontSpec& font, Argb colour, PointF topLeft) = 0;
  // Text placed in `box` by `format`, clipped to it; wrapped as GlyphMeasurer::MeasureWrapped measures.
  virtual void DrawTextBox(std::wstring_view text, const FontSpec& font, Argb colour, const RectF& box,
                           const TextBoxFormat& format) = 0;

  virtual void DrawLine(PointF from, PointF to, const Stroke& stroke) = 0;
  virtual void DrawPolyline(std::span<const PointF> points, const Stroke& stroke) = 0;
  // A cardinal spline through the points; tension 0 gives straight segments, 0.5 a usual curve.
  virtual void DrawCurve(std::span<const PointF> points, float tension, const Stroke& stroke) = 0;

  virtual void FillRect(const RectF& rect, const Brush& brush) = 0;
  // Rounded rectangles have the shape of Path::AddRoundedRectangle.
  virtual void FillRoundedRect(const RectF& rect, float radius, const Brush& brush) = 0;
  virtual void StrokeRoundedRect(const RectF& rect, float radius, const Stroke& stroke) = 0;
  virtual void FillEllipse(const RectF& bounds, const Brush& brush) = 0;
  virtual void StrokeEllipse(const RectF& bounds, const Stroke& stroke) = 0;
  virtual void FillPath(const Path& path, const Brush& brush) = 0;
  virtual void StrokePath(const Path& path, const Stroke& stroke) = 0;

  // The state stack: each push narrows the clip or scales the world, until the matching Pop. Clips
  // intersect with the current one and are given in current world units; a scale multiplies the
  // current transform (so later coordinates are scaled). Pop with nothing pushed does nothing.
  virtual void PushClip(const RectF& rect) = 0;
  virtual void PushRoundedClip(const RectF& rect, float radius) = 0;
  virtual void PushScale(float scaleX, float scaleY) = 0;
  virtual void Pop() = 0;

  void FillCircle(PointF centre, float radius, const Brush& brush) {
    FillEllipse(CircleBounds(centre, radius), brush);
  }
  void StrokeCircle(PointF centre, float radius, const Stroke& stroke) {
    StrokeEllipse(CircleBounds(centre, radius), stroke);
  }
};

// Pops the state pushed before it when the scope ends.
class CanvasStateScope {
 public:
  explicit CanvasStateScope(Canvas& canvas) : canvas_(canvas) {}
  CanvasStateScope(const CanvasStateScope&) = delete;
  CanvasStateScope& operator=(const CanvasStateScope&) = delete;
  ~CanvasStateScope() { canvas_.Pop(); }

 private:
  Canvas& canvas_;
};
