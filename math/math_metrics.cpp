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
