#include "math/math_metrics.h"

#include <algorithm>

#include "math/math_chars.h"
#include "math/math_glyphs.h"

float FractionPartSize(float s) { return std::max(0.8f * s, 9.0f); }
float RadicalIndexSize(float s) { return std::max(0.58f * s, 8.0f); }
float ScriptSize(float s) { return std::max(0.7f * s, 8.5f); }
float LimitSize(float s) { return std::max(0.66f * s, 8.5f); }
float MatrixCellSize(float s) { return std::max(0.88f * s, 9.0f); }

float FractionRuleThickness(const MathNode& fraction, float s) {
  return fraction.text == L"nobar" ? 0.0f : std::max(0.075f * s, 1.0f);
}

float RadicalIndexOverhang(const MathNode& radical, float s) {
  return radical.b ? std::max(0.0f, radical.b->width - 0.18f * s) : 0.0f;
}

bool IsItalicIdentifier(const MathNode& leaf) {
  return leaf.kind == MathNodeKind::Identifier && leaf.text.size() == 1 && leaf.text[0] < 0x80 &&
         IsMathLetter(static_cast<char32_t>(leaf.text[0]));
}

FontSpec LeafGlyphFont(const MathNode& leaf, float s, bool bold) {
  return MathGlyphFont(s, (IsItalicIdentifier(leaf) ? kFontItalic : kFontRegular) | (bold ? kFontBold : kFontRegular));
}

bool IsLim(const MathNode& bigOperator) { return bigOperator.text == L"lim"; }

bool HasSideLimits(const MathNode& bigOperator) {
  const std::wstring& t = bigOperator.text;
  return t == L"\u222B" || t == L"\u222C" || t == L"\u222D" || t == L"\u222E";
}

FontSpec BigOperatorGlyphFont(const MathNode& bigOperator, float s, bool bold) {
  return MathGlyphFont(IsLim(bigOperator) ? s : 1.48f * s, bold ? kFontBold : kFontRegular);
}

namespace {

// Upright text of two or more characters.
bool IsSpacedText(const MathNode& item) {
  return item.kind == MathNodeKind::Text && !item.text.empty() && CharLengthAt(item.text, 0) < item.text.size();
}

}  // namespace

float RowSpaceBefore(std::span<const MathNode> items, size_t i, float s) {
  return i > 0 && IsSpacedText(items[i]) ? 0.14f * s : 0.0f;
}

float RowSpaceAfter(std::span<const MathNode> items, size_t i, float s) {
  return i + 1 < items.size() && IsSpacedText(items[i]) ? 0.12f * s : 0.0f;
}

MathBox BoxOf(const MathNode* node) {
  if (!node) return {};
  return {node->width, node->ascent, node->descent};
}

float MatrixColumnGap(float s) { return 0.55f * s; }
float MatrixRowGap(float s) { return 0.22f * s; }

MatrixGrid MeasureMatrixGrid(const MathNode& matrix, float s) {
  const float c = MatrixCellSize(s);
  MatrixGrid grid;
  grid.columns = size_t(std::max(matrix.columns, 1));
  grid.rows = matrix.children.size() / grid.columns;
  grid.columnWidth.assign(grid.columns, 0.0f);
  grid.rowAscent.assign(grid.rows, 0.72f * c);
  grid.rowDescent.assign(grid.rows, 0.24f * c);
  for (size_t r = 0; r < grid.rows; ++r) {
    for (size_t j = 0; j < grid.columns; ++j) {
      const MathNode& cell = grid.Cell(matrix, r, j);
      grid.columnWidth[j] = std::max(grid.columnWidth[j], cell.width);
      grid.rowAscent[r] = std::max(grid.rowAscent[r], cell.ascent);
      grid.rowDescent[r] = std::max(grid.rowDescent[r], cell.descent);
    }
  }
  for (float w : grid.columnWidth) grid.width += w;
  grid.width += MatrixColumnGap(s) * float(grid.columns - 1);
  for (size_t r = 0; r < grid.rows; ++r) grid.height += grid.rowAscent[r] + grid.rowDescent[r];
  if (grid.rows > 1) grid.height += MatrixRowGap(s) * float(grid.rows - 1);
  return grid;
}

float MatrixGridLeft(const MathNode& matrix, float s) {
  return 0.06f * s + (matrix.leftDelim.empty() ? 0.0f : 0.38f * s + 0.05f * s);
}

float RadicalHookHeight(const MathNode& radical) { return 0.25f * BoxOf(radical.a.get()).ascent; }

namespace {

ChildOrigins PlaceFractionParts(const MathNode& fraction, float s) {
  const float t = FractionRuleThickness(fraction, s);
  const float axis = -0.28f * s;
  const MathBox a = BoxOf(fraction.a.get());
  const MathBox b = BoxOf(fraction.b.get());
  return {{(fraction.width - a.width) / 2, axis - t / 2 - 0.14f * s - a.descent},
          {(fraction.width - b.width) / 2, axis + t / 2 + 0.14f * s + b.ascent},
          {}};
}

ChildOrigins PlaceScripts(const MathNode& scripts, float s) {
  const MathBox base = BoxOf(scripts.a.get());
  const float left = base.width + 0.03f * s;
  return {{}, {left, 0.26f * s}, {left, -0.55f * base.ascent - 0.4f * BoxOf(scripts.c.get()).descent}};
}

ChildOrigins PlaceLimits(const MathNode& op, float s, SizeF glyph) {
  if (HasSideLimits(op)) {
    const float left = glyph.width + 0.08f * s;
    return {{}, {left, 0.3f * glyph.height}, {left, -0.44f * glyph.height}};
  }
  const bool lim = IsLim(op);
  const float above = lim ? 0.74f * s : 0.56f * glyph.height;
  const float below = lim ? 0.24f * s : 0.44f * glyph.height;
  const MathBox lower = BoxOf(op.b.get());
  const MathBox upper = BoxOf(op.c.get());
  return {{},
          {(op.width - lower.width) / 2, below + 0.05f * s + lower.ascent},
          {(op.width - upper.width) / 2, -above - 0.05f * s - upper.descent}};
}

}  // namespace

ChildOrigins PlaceChildren(const MathNode& node, float s, SizeF glyph) {
  switch (node.kind) {
    case MathNodeKind::Fraction: return PlaceFractionParts(node, s);
    case MathNodeKind::Radical:
      return {{0.56f * s + RadicalIndexOverhang(node, s), 0}, {0, -RadicalHookHeight(node) - 0.18f * s}, {}};
    case MathNodeKind::Scripts: return PlaceScripts(node, s);
    case MathNodeKind::BigOperator: return PlaceLimits(node, s, glyph);
    case MathNodeKind::Delimited: return {{0.05f * s + (node.leftDelim.empty() ? 0.0f : 0.34f * s), 0}, {}, {}};
    case MathNodeKind::Accent: return {{0.04f * s, 0}, {}, {}};
    default: return {};
  }
}

MathInk BoxInk(const MathNode& node, float s) {
  const float room = std::max(s, 1.0f);
  return {-room, node.width + room, node.ascent + room, node.descent + room};
}

void CoverChildInk(MathInk& ink, const MathNode& child, PointF origin) {
  ink.left = std::min(ink.left, origin.x + child.ink.left);
  ink.right = std::max(ink.right, origin.x + child.ink.right);
  ink.above = std::max(ink.above, child.ink.above - origin.y);
  ink.below = std::max(ink.below, child.ink.below + origin.y);
}
