#include "math/delimiters.h"

#include <algorithm>

#include "math/math_glyphs.h"

namespace {

constexpr float kParenthesisTension = 0.55f;

// A brace from its ends at p through its spine at q to its tip at r.
void DrawBrace(Canvas& canvas, float p, float q, float r, float top, float g, const Stroke& pen) {
  const float m = top + g / 2;
  const float e = top + g;
  const PointF points[] = {{p, top},          {q, top + 0.12f * g}, {q, m - 0.08f * g}, {r, m},
                           {q, m + 0.08f * g}, {q, e - 0.12f * g},   {p, e}};
  canvas.DrawPolyline(points, pen);
}

}  // namespace

void DrawDelimiter(Canvas& canvas, std::wstring_view delimiter, float x, float top, float height, float width,
                   Argb colour) {
  if (delimiter.empty()) return;
  const float g = height;
  const float w = width;
  const float m = top + g / 2;
  const float e = top + g;
  const Stroke pen{colour, std::max(0.22f * w, 1.1f), LineCap::Round, LineJoin::Round};
  if (delimiter == L"(" || delimiter == L")") {
    const float ends = delimiter == L"(" ? 0.78f : 0.22f;
    const float middle = delimiter == L"(" ? 0.16f : 0.84f;
    const PointF points[] = {{x + ends * w, top}, {x + middle * w, m}, {x + ends * w, e}};
    canvas.DrawCurve(points, kParenthesisTension, pen);
  } else if (delimiter == L"[" || delimiter == L"]") {
    const float ends = delimiter == L"[" ? 0.78f : 0.22f;
    const float spine = delimiter == L"[" ? 0.26f : 0.74f;
    const PointF points[] = {{x + ends * w, top}, {x + spine * w, top}, {x + spine * w, e}, {x + ends * w, e}};
    canvas.DrawPolyline(points, pen);
  } else if (delimiter == L"|") {
    canvas.DrawLine({x + 0.5f * w, top}, {x + 0.5f * w, e}, pen);
  } else if (delimiter == L"\u2016") {
    canvas.DrawLine({x + 0.32f * w, top}, {x + 0.32f * w, e}, pen);
    canvas.DrawLine({x + 0.68f * w, top}, {x + 0.68f * w, e}, pen);
  } else if (delimiter == L"{") {
    DrawBrace(canvas, x + 0.82f * w, x + 0.45f * w, x + 0.14f * w, top, g, pen);
  } else if (delimiter == L"}") {
    DrawBrace(canvas, x + 0.18f * w, x + 0.55f * w, x + 0.86f * w, top, g, pen);
  } else {
    DrawGlyphs(canvas, delimiter, MathGlyphFont(std::min(2.5f * w, 0.9f * g), kFontRegular), x, top, colour);
  }
}
