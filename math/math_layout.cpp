#include "math/math_layout.h"

#include <algorithm>

#include "math/math_glyphs.h"
#include "math/math_metrics.h"

namespace {

class MathMeasurer {
 public:
  MathMeasurer(GlyphMeasurer& measurer, bool bold) : measurer_(measurer), bold_(bold) {}

  void Measure(MathNode& node, float s) {
    switch (node.kind) {
      case MathNodeKind::Row: return Row(node, s);
      case MathNodeKind::Identifier:
      case MathNodeKind::Number:
      case MathNodeKind::Operator:
      case MathNodeKind::Text: return Leaf(node, s);
      case MathNodeKind::Space: return Space(node, s);
      case MathNodeKind::Fraction: return Fraction(node, s);
      case MathNodeKind::Radical: return Radical(node, s);
      case MathNodeKind::Scripts: return Scripts(node, s);
      case MathNodeKind::BigOperator: return BigOperator(node, s);
      case MathNodeKind::Delimited: return Delimited(node, s);
      case MathNodeKind::Accent: return Accent(node, s);
      case MathNodeKind::Matrix: return Matrix(node, s);
    }
    Set(node, 0, 0, 0, s);
  }

 private:
  // Sets the node's box, and its ink to that box's; the caller then covers its children's ink.
  static void Set(MathNode& node, float width, float ascent, float descent, float s) {
    node.width = width;
    node.ascent = ascent;
    node.descent = descent;
    node.ink = BoxInk(node, s);
  }

  // Covers the ink of the children a, b and c where drawing sets them.
  static void CoverParts(MathNode& node, float s, SizeF glyph = {}) {
    const ChildOrigins at = PlaceChildren(node, s, glyph);
    if (node.a) CoverChildInk(node.ink, *node.a, at.a);
    if (node.b) CoverChildInk(node.ink, *node.b, at.b);
    if (node.c) CoverChildInk(node.ink, *node.c, at.c);
  }

  // Measures a child that may be missing.
  MathBox Child(MathNode* child, float s) {
    if (child) Measure(*child, s);
    return BoxOf(child);
  }

  void Row(MathNode& row, float s) {
    float width = 0;
    float ascent = 0.72f * s;
    float descent = 0.24f * s;
    for (size_t i = 0; i < row.children.size(); ++i) {
      MathNode& item = row.children[i];
      Measure(item, s);
      width += RowSpaceBefore(row.children, i, s) + item.width + RowSpaceAfter(row.children, i, s);
      ascent = std::max(ascent, item.ascent);
      descent = std::max(descent, item.descent);
    }
    Set(row, width, ascent, descent, s);
    float pen = 0;
    for (size_t i = 0; i < row.children.size(); ++i) {
      pen += RowSpaceBefore(row.children, i, s);
      CoverChildInk(row.ink, row.children[i], {pen, 0});
      pen += row.children[i].width + RowSpaceAfter(row.children, i, s);
    }
  }

  void Leaf(MathNode& leaf, float s) {
    const SizeF glyphs = MeasureGlyphs(measurer_, leaf.text, LeafGlyphFont(leaf, s, bold_));
    const float pad = leaf.kind == MathNodeKind::Operator ? 0.22f * s : IsItalicIdentifier(leaf) ? 0.06f * s : 0.0f;
    Set(leaf, glyphs.width + 2 * pad, std::max(0.76f * glyphs.height, 0.74f * s),
        std::max(0.24f * glyphs.height, 0.24f * s), s);
  }

  static void Space(MathNode& space, float s) {
    const float width = space.text == L"quad" ? 0.65f * s : space.text == L"qquad" ? 1.2f * s : 0.22f * s;
    Set(space, width, 0.72f * s, 0.24f * s, s);
  }

  void Fraction(MathNode& fraction, float s) {
    const float c = FractionPartSize(s);
    const MathBox a = Child(fraction.a.get(), c);
    const MathBox b = Child(fraction.b.get(), c);
    const float t = FractionRuleThickness(fraction, s);
    Set(fraction, std::max(a.width, b.width) + 0.34f * s, a.ascent + a.descent + t / 2 + 0.28f * s + 0.14f * s,
        std::max(0.0f, b.ascent + b.descent + 0.14f * s + t / 2 - 0.28f * s), s);
    CoverParts(fraction, s);
  }

  void Radical(MathNode& radical, float s) {
    const MathBox a = Child(radical.a.get(), s);
    Child(radical.b.get(), RadicalIndexSize(s));
    const float i = RadicalIndexOverhang(radical, s);
    Set(radical, 0.56f * s + i + a.width + 0.16f * s, a.ascent + 0.22f * s, a.descent + 0.06f * s, s);
    CoverParts(radical, s);
  }

  void Scripts(MathNode& scripts, float s) {
    const float k = ScriptSize(s);
    const MathBox base = Child(scripts.a.get(), s);
    const MathBox sub = Child(scripts.b.get(), k);
    const MathBox sup = Child(scripts.c.get(), k);
    float ascent = base.ascent;
    if (scripts.c) ascent = std::max(ascent, 0.55f * base.ascent + sup.ascent + 0.4f * sup.descent);
    float descent = base.descent;
    if (scripts.b) descent = std::max(descent, 0.26f * s + sub.descent);
    Set(scripts, base.width + std::max({0.0f, sub.width, sup.width}) + 0.06f * s, ascent, descent, s);
    CoverParts(scripts, s);
  }

  void BigOperator(MathNode& op, float s) {
    const float l = LimitSize(s);
    const MathBox lower = Child(op.b.get(), l);
    const MathBox upper = Child(op.c.get(), l);
    const SizeF glyph = MeasureGlyphs(measurer_, op.text, BigOperatorGlyphFont(op, s, bold_));
    if (HasSideLimits(op)) {
      float ascent = 0.6f * glyph.height;
      if (op.c) ascent = std::max(ascent, 0.44f * glyph.height + upper.ascent);
      float descent = 0.4f * glyph.height;
      if (op.b) descent = std::max(descent, 0.3f * glyph.height + lower.descent);
      Set(op, std::max({0.0f, lower.width, upper.width}) + glyph.width + 0.22f * s, ascent, descent, s);
      CoverParts(op, s, glyph);
      return;
    }
    const bool lim = IsLim(op);
    const float above = op.c ? upper.ascent + upper.descent + 0.05f * s : 0.0f;
    const float below = op.b ? lower.ascent + lower.descent + 0.05f * s : 0.0f;
    Set(op, std::max({glyph.width, lower.width, upper.width}) + 0.24f * s,
        above + (lim ? 0.74f * s : 0.56f * glyph.height), below + (lim ? 0.24f * s : 0.44f * glyph.height), s);
    CoverParts(op, s, glyph);
  }

  void Delimited(MathNode& delimited, float s) {
    const MathBox a = Child(delimited.a.get(), s);
    const int delimiters = int(!delimited.leftDelim.empty()) + int(!delimited.rightDelim.empty());
    Set(delimited, a.width + 0.1f * s + 0.34f * s * float(delimiters), a.ascent + 0.08f * s, a.descent + 0.08f * s,
        s);
    CoverParts(delimited, s);
  }

  void Accent(MathNode& accent, float s) {
    const MathBox a = Child(accent.a.get(), s);
    Set(accent, a.width + 0.08f * s, a.ascent + 0.26f * s, a.descent, s);
    CoverParts(accent, s);
  }

  void Matrix(MathNode& matrix, float s) {
    const float c = MatrixCellSize(s);
    for (MathNode& cell : matrix.children) Measure(cell, c);
    const MatrixGrid grid = MeasureMatrixGrid(matrix, s);
    const int delimiters = int(!matrix.leftDelim.empty()) + int(!matrix.rightDelim.empty());
    const float half = grid.height / 2;
    Set(matrix, grid.width + 0.22f * s + 0.38f * s * float(delimiters), half + 0.28f * s + 0.08f * s,
        std::max(half - 0.28f * s + 0.08f * s, 0.24f * s), s);
    ForEachMatrixCell(matrix, grid, s, [&](const MathNode& cell, PointF origin) {
      CoverChildInk(matrix.ink, cell, origin);
    });
  }

  GlyphMeasurer& measurer_;
  bool bold_;
};

}  // namespace

void MeasureMathNode(GlyphMeasurer& measurer, MathNode& node, float s, bool bold) {
  MathMeasurer(measurer, bold).Measure(node, s);
}
