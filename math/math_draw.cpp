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
    if (!MayShow(node, x, y, s)) return;
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
  // Whether the node's box, grown by the size on every side for ink that strays outside it (italic
  // overhangs, round caps), meets the visible area.
  bool MayShow(const MathNode& node, float x, float y, float s) const {
    if (!visible_) return true;
    const float margin = std::max(s, 1.0f);
    return x - margin < visible_->Right() && x + node.width + margin > visible_->x &&
           y - node.ascent - margin < visible_->Bottom() && y + node.descent + margin > visible_->y;
  }

  // Draws a child that may be missing.
  void Child(const MathNode* child, float x, float y, float s) {
    if (child) Draw(*child, x, y, s);
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
    const MathBox a = BoxOf(fraction.a.get());
    const MathBox b = BoxOf(fraction.b.get());
    Child(fraction.a.get(), x + (fraction.width - a.width) / 2, axis - t / 2 - 0.14f * s - a.descent, c);
    if (t > 0) canvas_.DrawLine({x + 0.08f * s, axis}, {x + fraction.width - 0.08f * s, axis}, Pen(t));
    Child(fraction.b.get(), x + (fraction.width - b.width) / 2, axis + t / 2 + 0.14f * s + b.ascent, c);
  }

  void Radical(const MathNode& radical, float x, float y, float s) {
    const float i = RadicalIndexOverhang(radical, s);
    const MathBox a = BoxOf(radical.a.get());
    const float h = y - 0.25f * a.ascent;
    Child(radical.b.get(), x, h - 0.18f * s, RadicalIndexSize(s));
    const float top = y - radical.ascent + 0.08f * s;
    const PointF sign[] = {{x + i + 0.04f * s, h},
                           {x + i + 0.16f * s, h - 0.05f * s},
                           {x + i + 0.30f * s, y + a.descent},
                           {x + i + 0.56f * s - 0.04f * s, top},
                           {x + radical.width - 0.06f * s, top}};
    canvas_.DrawPolyline(sign, Pen(std::max(0.08f * s, 1.1f)));
    Child(radical.a.get(), x + 0.56f * s + i, y, s);
  }

  void Scripts(const MathNode& scripts, float x, float y, float s) {
    const float k = ScriptSize(s);
    const MathBox base = BoxOf(scripts.a.get());
    const float left = x + base.width + 0.03f * s;
    Child(scripts.a.get(), x, y, s);
    Child(scripts.b.get(), left, y + 0.26f * s, k);
    Child(scripts.c.get(), left, y - 0.55f * base.ascent - 0.4f * BoxOf(scripts.c.get()).descent, k);
  }

  void BigOperator(const MathNode& op, float x, float y, float s) {
    const float l = LimitSize(s);
    const FontSpec font = BigOperatorGlyphFont(op, s, bold_);
    const SizeF glyph = MeasureGlyphs(measurer_, op.text, font);
    const MathBox lower = BoxOf(op.b.get());
    const MathBox upper = BoxOf(op.c.get());
    if (HasSideLimits(op)) {
      DrawGlyphs(canvas_, op.text, font, x + 0.04f * s, y - 0.6f * glyph.height, colour_);
      const float left = x + glyph.width + 0.08f * s;
      Child(op.c.get(), left, y - 0.44f * glyph.height, l);
      Child(op.b.get(), left, y + 0.3f * glyph.height, l);
      return;
    }
    const bool lim = IsLim(op);
    const float above = lim ? 0.74f * s : 0.56f * glyph.height;
    const float below = lim ? 0.24f * s : 0.44f * glyph.height;
    DrawGlyphs(canvas_, op.text, font, x + (op.width - glyph.width) / 2, y - above, colour_);
    Child(op.c.get(), x + (op.width - upper.width) / 2, y - above - 0.05f * s - upper.descent, l);
    Child(op.b.get(), x + (op.width - lower.width) / 2, y + below + 0.05f * s + lower.ascent, l);
  }

  // Draws one of a node's delimiters at `left`: they span the node's box less 0.04·s at either end.
  void NodeDelimiter(const std::wstring& delimiter, const MathNode& node, float left, float y, float width, float s) {
    DrawDelimiter(canvas_, delimiter, left, y - node.ascent + 0.04f * s, node.ascent + node.descent - 0.08f * s,
                  width, colour_);
  }

  void Delimited(const MathNode& delimited, float x, float y, float s) {
    const float boxWidth = 0.34f * s;
    float pen = x + 0.05f * s;
    if (!delimited.leftDelim.empty()) {
      NodeDelimiter(delimited.leftDelim, delimited, pen, y, boxWidth, s);
      pen += boxWidth;
    }
    Child(delimited.a.get(), pen, y, s);
    NodeDelimiter(delimited.rightDelim, delimited, pen + BoxOf(delimited.a.get()).width, y, boxWidth, s);
  }

  void Accent(const MathNode& accent, float x, float y, float s) {
    const MathBox base = BoxOf(accent.a.get());
    const float b = x + 0.04f * s;
    const float v = y - base.ascent - 0.08f * s;
    const float w = base.width;
    const Stroke pen = Pen(std::max(0.075f * s, 1.0f));
    Child(accent.a.get(), b, y, s);
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
    float g = x + 0.06f * s;
    if (!matrix.leftDelim.empty()) {
      NodeDelimiter(matrix.leftDelim, matrix, g, y, boxWidth, s);
      g += boxWidth + 0.05f * s;
    }
    float rowTop = y - matrix.ascent + 0.08f * s;  // 0.04·s below the delimiters' top
    for (size_t r = 0; r < grid.rows; ++r) {
      const float baseline = rowTop + grid.rowAscent[r];
      float columnLeft = g;
      for (size_t j = 0; j < grid.columns; ++j) {
        const MathNode& cell = grid.Cell(matrix, r, j);
        Draw(cell, columnLeft + (grid.columnWidth[j] - cell.width) / 2, baseline, c);
        columnLeft += grid.columnWidth[j] + MatrixColumnGap(s);
      }
      rowTop += grid.rowAscent[r] + grid.rowDescent[r] + MatrixRowGap(s);
    }
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
