#pragma once
// The rules that measuring and drawing a math tree share: the sizes children are set at, the
// glyph fonts of leaves and big operators, the spacing of a row, and the grid of a matrix. Every
// length is a fixed multiple of the size s of the node, in pixels.
#include <span>
#include <vector>

#include "draw/font.h"
#include "draw/geometry.h"
#include "math/math_node.h"

// Sizes of the children of a node set at s.
float FractionPartSize(float s);  // numerator and denominator
float RadicalIndexSize(float s);
float ScriptSize(float s);        // sub- and superscripts
float LimitSize(float s);         // limits of big operators
float MatrixCellSize(float s);

// Thickness of a fraction's rule: none for a binomial.
float FractionRuleThickness(const MathNode& fraction, float s);
// How far a radical's index reaches left of the sign's own width (0 without an index).
float RadicalIndexOverhang(const MathNode& radical, float s);

// A single ASCII letter, set in italics.
bool IsItalicIdentifier(const MathNode& leaf);
// The glyph font of an Identifier, Number, Operator or Text.
FontSpec LeafGlyphFont(const MathNode& leaf, float s, bool bold);

bool IsLim(const MathNode& bigOperator);
// Integrals carry their limits at the side; sums, products and lim above and below.
bool HasSideLimits(const MathNode& bigOperator);
FontSpec BigOperatorGlyphFont(const MathNode& bigOperator, float s, bool bold);

// Extra space around a row item: upright text of two or more characters is set apart from what
// precedes and follows it, except at the row's ends.
float RowSpaceBefore(std::span<const MathNode> items, size_t i, float s);
float RowSpaceAfter(std::span<const MathNode> items, size_t i, float s);

// Width, ascent and descent of a node that may be missing (all zero then).
struct MathBox {
  float width = 0;
  float ascent = 0;
  float descent = 0;
};
MathBox BoxOf(const MathNode* node);

// The grid of a measured matrix's cells at cell size c: column widths, row ascents and descents,
// the grid's width W and height H (gaps included).
struct MatrixGrid {
  size_t columns = 1;
  size_t rows = 0;
  std::vector<float> columnWidth;
  std::vector<float> rowAscent;
  std::vector<float> rowDescent;
  float width = 0;
  float height = 0;
  const MathNode& Cell(const MathNode& matrix, size_t row, size_t column) const {
    return matrix.children[row * columns + column];
  }
};
MatrixGrid MeasureMatrixGrid(const MathNode& matrix, float s);

// Horizontal gap between matrix columns and vertical gap between rows.
float MatrixColumnGap(float s);
float MatrixRowGap(float s);

// Left edge of a matrix's grid from the matrix's origin: after its opening delimiter, if any.
float MatrixGridLeft(const MathNode& matrix, float s);

// Calls visit(cell, origin) for every cell of a measured matrix set at s, with the origin where
// drawing sets the cell (centred in its column, on its row's baseline) relative to the matrix's.
template <class Visit>
void ForEachMatrixCell(const MathNode& matrix, const MatrixGrid& grid, float s, Visit&& visit) {
  float rowTop = -matrix.ascent + 0.08f * s;  // 0.04·s below the delimiters' top
  for (size_t r = 0; r < grid.rows; ++r) {
    const float baseline = rowTop + grid.rowAscent[r];
    float columnLeft = MatrixGridLeft(matrix, s);
    for (size_t j = 0; j < grid.columns; ++j) {
      const MathNode& cell = grid.Cell(matrix, r, j);
      visit(cell, PointF{columnLeft + (grid.columnWidth[j] - cell.width) / 2, baseline});
      columnLeft += grid.columnWidth[j] + MatrixColumnGap(s);
    }
    rowTop += grid.rowAscent[r] + grid.rowDescent[r] + MatrixRowGap(s);
  }
}

// Where drawing sets the children a, b and c of a measured Fraction, Radical, Scripts,
// BigOperator, Delimited or Accent node set at s: each child's origin relative to the node's
// (missing children, and the children of other kinds, at (0, 0)). `glyph` is the measured glyph
// of a big operator.
struct ChildOrigins {
  PointF a;
  PointF b;
  PointF c;
};
ChildOrigins PlaceChildren(const MathNode& node, float s, SizeF glyph = {});
// Baseline of a radical's index, and foot of its sign's hook, up from the radical's baseline.
float RadicalHookHeight(const MathNode& radical);

// The ink of a measured node's own box set at s: the box grown on every side by the room its
// glyphs and strokes may stray outside it (italic overhangs, round caps).
MathInk BoxInk(const MathNode& node, float s);
// Grows `ink` to cover the ink of `child` set with its origin at `origin`.
void CoverChildInk(MathInk& ink, const MathNode& child, PointF origin);
