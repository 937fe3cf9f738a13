// Where measured math is drawn (fixed-advance measurer: see math_layout_test.cpp for the metrics).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "math/tests/math_layout_support.h"

namespace {

constexpr float kEps = 1e-3f;

void ExpectAt(const DrawCall& call, float x, float y) {
  ASSERT_FALSE(call.points.empty());
  EXPECT_NEAR(call.points[0].x, x, kEps) << DescribeDrawCall(call);
  EXPECT_NEAR(call.points[0].y, y, kEps) << DescribeDrawCall(call);
}

void ExpectPoints(const DrawCall& call, const std::vector<PointF>& expected) {
  ASSERT_EQ(call.points.size(), expected.size()) << DescribeDrawCall(call);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(call.points[i].x, expected[i].x, kEps) << i << ": " << DescribeDrawCall(call);
    EXPECT_NEAR(call.points[i].y, expected[i].y, kEps) << i << ": " << DescribeDrawCall(call);
  }
}

// Every glyph string and stroke point of a drawn run lies inside the run's measured box.
TEST(DrawMathNode, DrawingStaysInsideTheMeasuredBox) {
  const wchar_t* sources[] = {
      L"x^2 + y_1^2 = r^2 \\quad \\alpha \\sin\\theta \\cdot \\log x",
      L"\\frac{-b \\pm \\sqrt{b^2-4ac}}{2a} \\binom{n}{k}",
      L"\\sum_{i=1}^{n} i \\prod_{k} k \\lim_{x \\to 0} \\frac{\\sin x}{x}",
      L"\\int_0^1 x^2\\,dx + \\oint_{C} f + \\iint",
      L"\\sqrt[3]{\\frac{a}{b}} \\sqrt{x_1}",
      L"\\left( \\frac{a}{b} \\right] \\left\\{ x \\right\\} \\left| y \\right\\|",
      L"\\begin{pmatrix} 1 & \\frac{1}{2} \\\\ x^2 & \\sqrt{y} \\end{pmatrix} \\begin{vmatrix} a \\end{vmatrix}",
      L"\\begin{cases} x & x > 0 \\\\ -x & \\text{otherwise} \\end{cases} \\begin{bmatrix} a \\\\ b \\end{bmatrix}",
      L"\\vec{v} \\hat{x} \\bar{y} \\overline{AB} \\dot{x} \\tilde{n} x^{y^{z^{w}}}_{a_{b}}",
  };
  for (const float s : {20.0f, 14.0f}) {
    for (const wchar_t* source : sources) {
      MathBench bench;
      const MathNode tree = bench.Draw(source, s, 50, 200);
      const RectF box{50, 200 - tree.ascent, tree.width, tree.ascent + tree.descent};
      SCOPED_TRACE(MathBench::Narrow(source) + " at " + std::to_string(s) + "\n" + bench.canvas.Describe());
      auto inside = [&](PointF p) {
        EXPECT_TRUE(p.x >= box.x - kEps && p.x <= box.Right() + kEps && p.y >= box.y - kEps &&
                    p.y <= box.Bottom() + kEps)
            << p.x << "," << p.y;
      };
      for (const DrawCall& call : bench.canvas.Calls()) {
        if (call.kind == DrawCallKind::Glyphs) {
          const SizeF size = bench.measurer.Measure(call.text, call.font);
          inside(call.points[0]);
          inside({call.points[0].x + size.width, call.points[0].y + size.height});
        } else if (call.kind == DrawCallKind::FillEllipse) {
          inside({call.rect.x + call.rect.width / 2, call.rect.y + call.rect.height / 2});
        }
        for (PointF p : call.points) inside(p);
      }
    }
  }
}

TEST(DrawMathNode, FractionAtTwenty) {
  MathBench bench;
  const float width = bench.Draw(L"\\frac{a}{b}", 20, 100, 200).width;
  // The rule: 1.5 thick with round caps, on the axis 5.6 above the baseline, inset 0.08·s.
  ASSERT_EQ(bench.canvas.CountOf(DrawCallKind::Line), 1u);
  const DrawCall& rule = *bench.canvas.CallsOf(DrawCallKind::Line)[0];
  EXPECT_EQ(rule.stroke, (Stroke{kInk, 1.5f, LineCap::Round, LineJoin::Miter}));
  ExpectAt(rule, 101.6f, 194.4f);
  EXPECT_NEAR(rule.points[1].x, 100 + width - 1.6f, kEps);
  EXPECT_NEAR(rule.points[1].y, 194.4f, kEps);
  // Parts at 16 (9.92 wide, 14.592 up, 4.608 down), centred, 0.14·s clear of the rule.
  const float left = 100 + (width - 9.92f) / 2 + 0.04f * 16;
  ExpectAt(bench.Glyph(L"a"), left, 194.4f - 0.75f - 2.8f - 4.608f - 14.592f);
  ExpectAt(bench.Glyph(L"b"), left, 194.4f + 0.75f + 2.8f);
}

TEST(DrawMathNode, BinomialHasNoRuleAndCurvedParentheses) {
  MathBench bench;
  bench.Draw(L"\\binom{n}{k}", 20, 0, 100);
  EXPECT_EQ(bench.canvas.CountOf(DrawCallKind::Line) + bench.canvas.CountOf(DrawCallKind::Polyline), 0u);
  EXPECT_EQ(bench.canvas.Texts(), (std::vector<std::wstring>{L"n", L"k"}));
  const auto curves = bench.canvas.CallsOf(DrawCallKind::Curve);
  ASSERT_EQ(curves.size(), 2u);
  // In 6.8-wide boxes from 0.05·s in and after the 16.72-wide fraction, 29.2 above and 18 below.
  ExpectPoints(*curves[0], {{1 + 0.78f * 6.8f, 71.6f}, {1 + 0.16f * 6.8f, 71.6f + 22.8f}, {1 + 0.78f * 6.8f, 117.2f}});
  EXPECT_NEAR(curves[1]->points[1].x, 1 + 6.8f + 16.72f + 0.84f * 6.8f, kEps);
}

// A matrix is its columns and gaps plus 0.22·s, plus 0.38·s for each delimiter.
TEST(MeasureMathNode, MatrixWidthOverItsColumns) {
  const struct {
    const wchar_t* source;
    int delimiters;
  } cases[] = {
      {L"\\begin{matrix} a & bb \\\\ ccc & d \\end{matrix}", 0},
      {L"\\begin{array} a & bb \\\\ ccc \\end{array}", 0},
      {L"\\begin{cases} a & bb & x \\\\ ccc \\end{cases}", 1},
  };
  for (const float s : {20.0f, 9.0f}) {
    for (const auto& c : cases) {
      const MathNode tree = MathBench().Measure(c.source, s);
      const MathNode& matrix = tree.children.at(0);
      const size_t n = size_t(matrix.columns);
      float columns = 0.55f * s * float(n - 1);
      for (size_t j = 0; j < n; ++j) {
        float widest = 0;
        for (size_t i = j; i < matrix.children.size(); i += n) widest = std::max(widest, matrix.children[i].width);
        columns += widest;
      }
      EXPECT_NEAR(matrix.width - columns, (0.22f + 0.38f * float(c.delimiters)) * s, kEps)
          << MathBench::Narrow(c.source) << " at " << s;
    }
  }
}

TEST(DrawMathNode, MatrixCellsCentredInColumnsAndRowsApart) {
  MathBench bench;
  const MathNode tree = bench.Draw(L"\\begin{pmatrix} a & bb \\\\ ccc & d \\end{pmatrix}", 20, 0, 100);
  // Cells at 17.6: a letter is 10.912 wide, 16.0512 up and 5.0688 down; columns 32.736 and 21.824.
  const float top = 100 - tree.ascent + 0.8f;  // the delimiters' top
  const float grid = 1.2f + 7.6f + 1;         // after the opening parenthesis
  ExpectAt(bench.Glyph(L"a"), grid + (32.736f - 10.912f) / 2 + 0.704f, top + 0.8f);
  ExpectAt(bench.Glyph(L"d"), grid + 32.736f + 11 + (21.824f - 10.912f) / 2 + 0.704f, top + 0.8f + 21.12f + 4.4f);
  const auto parentheses = bench.canvas.CallsOf(DrawCallKind::Curve);
  ASSERT_EQ(parentheses.size(), 2u);
  ExpectAt(*parentheses[1], grid + 32.736f + 11 + 21.824f + 1 + 0.22f * 7.6f, top);
}

TEST(DrawMathNode, AngleBracketsAreGlyphsSizedByTheBox) {
  MathBench bench;
  const MathNode tree = bench.Draw(L"\\left\\langle x \\right\\rangle", 20, 0, 100);
  EXPECT_EQ(bench.canvas.CountOf(DrawCallKind::Curve) + bench.canvas.CountOf(DrawCallKind::Line) +
                bench.canvas.CountOf(DrawCallKind::Polyline),
            0u);
  // Boxes 0.34·s = 6.8 wide: the glyphs are 2.5 × that, regular, at the boxes' corners.
  const float top = 100 - tree.ascent + 0.8f;
  for (const wchar_t* bracket : {L"\u27E8", L"\u27E9"}) {
    EXPECT_EQ(bench.Glyph(bracket).font, (FontSpec{L"Cambria Math", 17, kFontRegular}));
  }
  ExpectAt(bench.Glyph(L"\u27E8"), 1, top);
  ExpectAt(bench.Glyph(L"\u27E9"), 1 + 6.8f + 12.4f, top);
}

TEST(DrawMathNode, RadicalSign) {
  MathBench bench;
  const MathNode tree = bench.Draw(L"\\sqrt[10]{x}", 20, 0, 100);
  ASSERT_EQ(bench.canvas.CountOf(DrawCallKind::Polyline), 1u);
  const DrawCall& sign = *bench.canvas.CallsOf(DrawCallKind::Polyline)[0];
  EXPECT_NEAR(sign.stroke.width, 1.6f, kEps);
  EXPECT_EQ(sign.stroke.join, LineJoin::Miter);
  // The index overhangs by 8: the hook starts after it, a quarter of x's ascent up, dips to x's
  // descent and rises to the bar 0.08·s inside the top.
  const float h = 100 - 0.25f * 18.24f;
  const float bar = 100 - tree.ascent + 1.6f;
  ExpectPoints(sign, {{8.8f, h}, {11.2f, h - 1}, {14, 105.76f}, {18.4f, bar}, {tree.width - 1.2f, bar}});
  ExpectAt(bench.Glyph(L"10"), 0, h - 3.6f - 10.5792f);
  ExpectAt(bench.Glyph(L"x"), 11.2f + 8 + 0.8f, 100 - 18.24f);
}

TEST(DrawMathNode, ScriptsAndLimits) {
  MathBench scripts;
  scripts.Draw(L"x_1^2", 20, 0, 100);
  // Scripts at 14 (12.768 up, 4.032 down) start 0.03·s after the base; the subscript's baseline
  // is 0.26·s down, the superscript's 0.55 × the base's ascent plus 0.4 × its own descent up.
  ExpectAt(scripts.Glyph(L"1"), 13, 105.2f - 12.768f);
  ExpectAt(scripts.Glyph(L"2"), 13, 100 - 0.55f * 18.24f - 0.4f * 4.032f - 12.768f);

  MathBench sum;
  const float width = sum.Draw(L"\\sum_{i}^{nn}", 20, 0, 100).width;
  const float gh = 1.2f * 29.6f;
  // Limits at 13.2 (12.0384 up, 3.8016 down) centred 0.05·s above and below the glyph.
  ExpectAt(sum.Glyph(L"\u2211"), (width - 14.8f) / 2, 100 - 0.56f * gh);
  ExpectAt(sum.Glyph(L"n"), (width - 16.368f) / 2 + 0.528f, 100 - 0.56f * gh - 1 - 3.8016f - 12.0384f);
  ExpectAt(sum.Glyph(L"i"), (width - 8.184f) / 2 + 0.528f, 100 + 0.44f * gh + 1);
}

// Accent marks: how many strokes, and the base set 0.04·s in (an italic x: 1.6 from the left).
TEST(DrawMathNode, Accents) {
  const struct {
    const wchar_t* source;
    DrawCallKind kind;
    size_t count;
  } cases[] = {{L"\\bar{x}", DrawCallKind::Line, 1},   {L"\\overline{x}", DrawCallKind::Line, 1},
               {L"\\vec{x}", DrawCallKind::Line, 3},   {L"\\hat{x}", DrawCallKind::Polyline, 1},
               {L"\\dot{x}", DrawCallKind::FillEllipse, 1}, {L"\\tilde{x}", DrawCallKind::Line, 2}};
  for (const auto& c : cases) {
    MathBench bench;
    bench.Draw(c.source, 20, 0, 100);
    EXPECT_EQ(bench.canvas.CountOf(c.kind), c.count) << MathBench::Narrow(c.source);
    EXPECT_EQ(bench.canvas.Calls().size(), 1 + c.count) << MathBench::Narrow(c.source);
    ExpectAt(bench.Glyph(L"x"), 1.6f, 100 - 18.24f);
  }
}

}  // namespace
