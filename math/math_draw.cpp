#include "math/math_draw.h"

#include <algorithm>

#include "math/delimiters.h"
#include "math/math_metrics.h"

namespace {

class MathPainter {
 public:
  MathPainter(const MathGraphics& graphics, Argb colour, bool bold)
      : canvas_(graphics.canvas), measurer_(graphics.measurer), visible_(graphics.visible), colour_(colour),
        bold_(bold) {}

  void Draw(const MathNode& node, float x, float y, float s) {
    if (!MayShow(node, x, y)) return;
    switch (node.kind) {
      case MathNodeKind::Row: return Row(node, x, y, s);
      case MathNodeKind::Identifier:
      case MathNodeKind::Number:
      case MathNodeKind::Operator:
      case MathNodeKind::Text: return Leaf(node, x, y, s);
      case MathNodeKind::Space: return;
      case MathNodeKind::Fraction: return Fraction(node, x, y, s);
      case MathNodeKind::Radical: return Radical(node, x, y, s);
      case MathNodeKind::Scripts: return Scripts(node, x, y, s);
      case MathNodeKind::BigOperator: return BigOperator(node, x, y, s);
      case MathNodeKind::Delimited: return Delimited(node, x, y, s);
      case MathNodeKind::Accent: return Accent(node, x, y, s);
      case MathNodeKind::Matrix: return Matrix(node, x, y, s);
    }
  }

 private:
  // Whether the node's ink, which covers everything its descendants draw, meets the visible area.
  bool MayShow(const MathNode& node, float x, float y) const {
    if (!visible_) return true;
    const MathInk& ink = node.ink;
    return x + ink.left < visible_->Right() && x + ink.right > visible_->x && y - ink.above < visible_->Bottom() &&
           y + ink.below > visible_->y;
  }

  // Draws a child that may be missing with its origin at `origin` from the parent's (x, y).
  void Child(const MathNode* child, PointF origin, float x, float y, float s) {
    if (child) Draw(*child, x + origin.x, y + origin.y, s);
  }

  Stroke Pen(float width, LineJoin join = LineJoin::Miter) const {
    return Stroke{colour_, width, LineCap::Round, join};
  }

  void Row(const MathNode& row, float x, float y, float s) {
    float pen = x;
    for (size_t i = 0; i < row.children.size(); ++i) {
      pen += RowSpaceBefore(row.children, i, s);
      Draw(row.children[i], pen, y, s);
      pen += row.children[i].width + RowSpaceAfter(row.children, i, s);
    }
  }

  void Leaf(const MathNode& leaf, float x, float y, float s) {
    // An italic letter reserves 0.06·s on each side but sits 0.04·s in, leaning into the rest.
    const float pad = leaf.kind == MathNodeKind::Operator ? 0.22f * s : IsItalicIdentifier(leaf) ? 0.04f * s : 0.0f;
    DrawGlyphs(canvas_, leaf.text, LeafGlyphFont(leaf, s, bold_), x + pad, y - leaf.ascent, colour_);
  }

  void Fraction(const MathNode& fraction, float x, float y, float s) {
    const float c = FractionPartSize(s);
    const float t = FractionRuleThickness(fraction, s);
    const float axis = y - 0.28f * s;
    const ChildOrigins at = PlaceChildren(fraction, s);
    Child(fraction.a.get(), at.a, x, y, c);
    if (t > 0) canvas_.DrawLine({x + 0.08f * s, axis}, {x + fraction.width - 0.08f * s, axis}, Pen(t));
    Child(fraction.b.get(), at.b, x, y, c);
  }

  void Radical(const MathNode& radical, float x, float y, float s) {
    const float i = RadicalIndexOverhang(radical, s);
    const MathBox a = BoxOf(radical.a.get());
    const float h = y - RadicalHookHeight(radical);
    const ChildOrigins at = PlaceChildren(radical, s);
    Child(radical.b.get(), at.b, x, y, RadicalIndexSize(s));
    const float top = y - radical.ascent + 0.08f * s;
    const PointF sign[] = {{x + i + 0.04f * s, h},
                           {x + i + 0.16f * s, h - 0.05f * s},
                           {x + i + 0.30f * s, y + a.descent},
                           {x + i + 0.56f * s - 0.04f * s, top},
                           {x + radical.width - 0.06f * s, top}};
    canvas_.DrawPolyline(sign, Pen(std::max(0.08f * s, 1.1f)));
    Child(radical.a.get(), at.a, x, y, s);
  }

  void Scripts(const MathNode& scripts, float x, float y, float s) {
    const float k = ScriptSize(s);
    const ChildOrigins at = PlaceChildren(scripts, s);
    Child(scripts.a.get(), at.a, x, y, s);
    Child(scripts.b.get(), at.b, x, y, k);
    Child(scripts.c.get(), at.c, x, y, k);
  }

  void BigOperator(const MathNode& op, float x, float y, float s) {
    const float l = LimitSize(s);
    const FontSpec font = BigOperatorGlyphFont(op, s, bold_);
    const SizeF glyph = MeasureGlyphs(measurer_, op.text, font);
    if (HasSideLimits(op)) {
      DrawGlyphs(canvas_, op.text, font, x + 0.04f * s, y - 0.6f * glyph.height, colour_);
    } else {
      const float above = IsLim(op) ? 0.74f * s : 0.56f * glyph.height;
      DrawGlyphs(canvas_, op.text, font, x + (op.width - glyph.width) / 2, y - above, colour_);
    }
    const ChildOrigins at = PlaceChildren(op, s, glyph);
    Child(op.c.get(), at.c, x, y, l);
    Child(op.b.get(), at.b, x, y, l);
  }

  // Draws one of a node's delimiters at `left`: they span the node's box less 0.04·s at either end.
  void NodeDelimiter(const std::wstring& delimiter, const MathNode& node, float left, float y, float width, float s) {
    DrawDelimiter(canvas_, delimiter, left, y - node.ascent + 0.04f * s, node.ascent + node.descent - 0.08f * s,
                  width, colour_);
  }

  void Delimited(const MathNode& delimited, float x, float y, float s) {
    const float boxWidth = 0.34f * s;
    const ChildOrigins at = PlaceChildren(delimited, s);
    NodeDelimiter(delimited.leftDelim, delimited, x + 0.05f * s, y, boxWidth, s);
    Child(delimited.a.get(), at.a, x, y, s);
    NodeDelimiter(delimited.rightDelim, delimited, x + at.a.x + BoxOf(delimited.a.get()).width, y, boxWidth, s);
  }

  void Accent(const MathNode& accent, float x, float y, float s) {
    const MathBox base = BoxOf(accent.a.get());
    const ChildOrigins at = PlaceChildren(accent, s);
    const float b = x + at.a.x;
    const float v = y - base.ascent - 0.08f * s;
    const float w = base.width;
    const Stroke pen = Pen(std::max(0.075f * s, 1.0f));
    Child(accent.a.get(), at.a, x, y, s);
    const std::wstring& kind = accent.text;
    if (kind == L"bar" || kind == L"overline" || kind == L"vec") {
      canvas_.DrawLine({b, v}, {b + w, v}, pen);
      if (kind == L"vec") {
        canvas_.DrawLine({b + w - 0.16f * s, v - 0.11f * s}, {b + w, v}, pen);
        canvas_.DrawLine({b + w - 0.16f * s, v + 0.11f * s}, {b + w, v}, pen);
      }
    } else if (kind == L"hat") {
      const PointF points[] = {{b + 0.06f * s, v + 0.05f * s}, {b + w / 2, v - 0.11f * s},
                               {b + w - 0.06f * s, v + 0.05f * s}};
      canvas_.DrawPolyline(points, pen);
    } else if (kind == L"dot") {
      canvas_.FillCircle({b + w / 2, v}, std::max(0.075f * s, 1.1f), Brush(colour_));
    } else if (kind == L"tilde") {
      canvas_.DrawLine({b, v}, {b + w / 2, v - 0.07f * s}, pen);
      canvas_.DrawLine({b + w / 2, v - 0.07f * s}, {b + w, v}, pen);
    }
  }

  void Matrix(const MathNode& matrix, float x, float y, float s) {
    const float c = MatrixCellSize(s);
    const MatrixGrid grid = MeasureMatrixGrid(matrix, s);
    const float boxWidth = 0.38f * s;
    const float g = x + MatrixGridLeft(matrix, s);
    NodeDelimiter(matrix.leftDelim, matrix, x + 0.06f * s, y, boxWidth, s);
    ForEachMatrixCell(matrix, grid, s, [&](const MathNode& cell, PointF origin) {
      Draw(cell, x + origin.x, y + origin.y, c);
    });
    NodeDelimiter(matrix.rightDelim, matrix, g + grid.width + 0.05f * s, y, boxWidth, s);
  }

  Canvas& canvas_;
  GlyphMeasurer& measurer_;
  std::optional<RectF> visible_;
  Argb colour_;
  bool bold_;
};

}  // namespace

void DrawMathNode(const MathGraphics& graphics, const MathNode& node, float x, float baseline, float s, Argb colour,
                  bool bold) {
  MathPainter(graphics, colour, bold).Draw(node, x, baseline, s);
}
