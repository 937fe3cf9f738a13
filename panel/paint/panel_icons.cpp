#include "panel/paint/panel_icons.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Points of a glyph in units of its square (0..1 each way).
struct GlyphPen {
  Canvas& canvas;
  PointF origin;
  float size;
  Stroke stroke;

  PointF At(float u, float v) const { return {origin.x + u * size, origin.y + v * size}; }
  void Line(float u0, float v0, float u1, float v1) { canvas.DrawLine(At(u0, v0), At(u1, v1), stroke); }
  void Polyline(std::initializer_list<PointF> unitPoints) {
    PointF points[8];
    size_t n = 0;
    for (PointF p : unitPoints) points[n++] = At(p.x, p.y);
    canvas.DrawPolyline(std::span<const PointF>(points, n), stroke);
  }
  // The four corners of a frame from `lo` to `hi`, each an L of `arm` along both sides.
  void Corners(float lo, float hi, float arm) {
    Polyline({{lo, lo + arm}, {lo, lo}, {lo + arm, lo}});
    Polyline({{hi - arm, lo}, {hi, lo}, {hi, lo + arm}});
    Polyline({{hi, hi - arm}, {hi, hi}, {hi - arm, hi}});
    Polyline({{lo + arm, hi}, {lo, hi}, {lo, hi - arm}});
  }
};

void DrawGear(GlyphPen& pen) {
  const float pi = std::numbers::pi_v<float>;
  pen.canvas.StrokeCircle(pen.At(0.5f, 0.5f), 0.22f * pen.size, pen.stroke);
  for (int i = 0; i < 8; ++i) {
    float angle = i * pi / 4;
    float c = std::cos(angle), s = std::sin(angle);
    pen.Line(0.5f + 0.3f * c, 0.5f + 0.3f * s, 0.5f + 0.42f * c, 0.5f + 0.42f * s);
  }
  pen.canvas.FillCircle(pen.At(0.5f, 0.5f), 0.07f * pen.size, pen.stroke.colour);
}

void DrawQuestion(GlyphPen& pen) {
  Path hook;
  hook.ArcTo({pen.At(0.32f, 0.16f).x, pen.At(0.32f, 0.16f).y, 0.36f * pen.size, 0.34f * pen.size}, 190, 250);
  hook.LineTo(pen.At(0.5f, 0.6f));
  pen.canvas.StrokePath(hook, pen.stroke);
  pen.canvas.FillCircle(pen.At(0.5f, 0.8f), std::max(0.06f * pen.size, pen.stroke.width * 0.6f),
                        pen.stroke.colour);
}

}  // namespace

void DrawPanelGlyph(Canvas& canvas, PanelGlyph glyph, PointF topLeft, float size, Argb colour, bool flipped) {
  if (!(size > 0)) return;
  GlyphPen pen{canvas, topLeft, size, {colour, std::max(1.2f, size / 11), LineCap::Round, LineJoin::Round}};
  switch (glyph) {
    case PanelGlyph::Close:
      pen.Line(0.25f, 0.25f, 0.75f, 0.75f);
      pen.Line(0.75f, 0.25f, 0.25f, 0.75f);
      break;
    case PanelGlyph::Minus: pen.Line(0.22f, 0.5f, 0.78f, 0.5f); break;
    case PanelGlyph::Strip:
      // A screen with the thin strip along its edge.
      canvas.StrokeRoundedRect({pen.At(0.14f, 0.2f).x, pen.At(0.14f, 0.2f).y, 0.72f * size, 0.6f * size},
                               0.12f * size, pen.stroke);
      pen.Line(0.7f, 0.34f, 0.7f, 0.66f);
      break;
    case PanelGlyph::Snip:
      pen.Corners(0.16f, 0.84f, 0.22f);
      pen.Line(0.38f, 0.62f, 0.62f, 0.38f);
      break;
    case PanelGlyph::Scan:
      pen.Corners(0.14f, 0.86f, 0.24f);
      pen.Line(0.3f, 0.5f, 0.7f, 0.5f);
      break;
    case PanelGlyph::Gear: DrawGear(pen); break;
    case PanelGlyph::Back:
      pen.Polyline({{0.45f, 0.24f}, {0.2f, 0.5f}, {0.45f, 0.76f}});
      pen.Line(0.2f, 0.5f, 0.8f, 0.5f);
      break;
    case PanelGlyph::Question: DrawQuestion(pen); break;
    case PanelGlyph::Chevron:
      if (flipped) {
        pen.Polyline({{0.2f, 0.64f}, {0.5f, 0.34f}, {0.8f, 0.64f}});
      } else {
        pen.Polyline({{0.2f, 0.36f}, {0.5f, 0.66f}, {0.8f, 0.36f}});
      }
      break;
    case PanelGlyph::Arrow:
      pen.Line(0.18f, 0.5f, 0.8f, 0.5f);
      pen.Polyline({{0.54f, 0.24f}, {0.8f, 0.5f}, {0.54f, 0.76f}});
      break;
  }
}
