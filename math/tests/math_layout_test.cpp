// Measured boxes and glyph fonts. With the fixed-advance measurer a one-character glyph at 20 is
// 10 × 24, so a plain leaf at s = 20 stands 18.24 above and 5.76 below its baseline.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/tests/math_layout_support.h"

namespace {

// Width, ascent and descent of whole runs (rows) at s = 20.
const struct {
  const wchar_t* source;
  float width, ascent, descent;
} kBoxes[] = {
    {L"", 0, 14.4f, 4.8f},             // an empty row keeps 0.72·s and 0.24·s
    {L"x^{}", 13.6f, 21.456f, 5.76f},  // its empty script at 14 is 10.08 + 3.36 high
    {L"x", 12.4f, 18.24f, 5.76f},      // an italic letter gets 0.06·s a side
    {L"+", 18.8f, 18.24f, 5.76f},      // an operator 0.22·s
    {L"\\alpha 12.5", 50, 18.24f, 5.76f},
    {L"a \\sin b", 60, 18.24f, 5.76f},  // words 0.14·s after and 0.12·s before neighbours
    {L"\\sin x", 44.8f, 18.24f, 5.76f},
    {L"x \\sin", 45.2f, 18.24f, 5.76f},
    {L"\\text{a} b", 22.4f, 18.24f, 5.76f},  // one letter is not a word
    {L"\\quad\\qquad\\,", 41.4f, 14.4f, 4.8f},
    {L"\\frac{a}{b}", 16.72f, 28.35f, 17.15f},  // parts at 16, rule 1.5
    {L"\\binom{a}{b}", 32.32f, 29.2f, 18},
    {L"\\sqrt{x}", 26.8f, 22.64f, 6.96f},
    {L"\\sqrt[10]{x}", 34.8f, 22.64f, 6.96f},  // the index (11.6 wide at 11.6) overhangs by 8
    {L"x^2", 20.6f, 24.4128f, 5.76f},          // scripts at 14
    {L"x_2", 20.6f, 18.24f, 9.232f},
    {L"\\sum", 19.6f, 19.8912f, 15.6288f},  // glyph at 29.6: 14.8 × 35.52
    {L"\\sum_{i}^{n}", 19.6f, 36.7312f, 32.4688f},
    {L"\\lim_{x}", 34.8f, 14.8f, 21.64f},
    {L"\\int", 19.2f, 21.312f, 14.208f},
    {L"\\int_0^1", 25.8f, 27.6672f, 14.4576f},
    {L"\\left( x \\right)", 28, 19.84f, 7.36f},
    {L"\\left. x \\right|", 21.2f, 19.84f, 7.36f},
    {L"\\vec{x}", 14, 23.44f, 5.76f},
    // Cells at 17.6, columns 0.55·s and rows 0.22·s apart, centred 0.28·s above the baseline.
    {L"\\begin{matrix} a & b \\\\ c & d \\end{matrix}", 37.224f, 30.52f, 19.32f},
    {L"\\begin{pmatrix} a & b \\\\ c & d \\end{pmatrix}", 52.424f, 30.52f, 19.32f},
    {L"\\begin{cases} a & b \\\\ c & d \\end{cases}", 44.824f, 30.52f, 19.32f},
};

TEST(MeasureMathNode, Boxes) {
  for (const auto& c : kBoxes) {
    const MathNode tree = MathBench().Measure(c.source, 20);
    SCOPED_TRACE(MathBench::Narrow(c.source));
    EXPECT_NEAR(tree.width, c.width, 1e-3);
    EXPECT_NEAR(tree.ascent, c.ascent, 1e-3);
    EXPECT_NEAR(tree.descent, c.descent, 1e-3);
  }
  // A grid lower than the axis keeps 0.24·s below the baseline; one with no rows is its margins.
  const MathNode low = MathBench().Measure(L"\\begin{matrix} {} \\end{matrix}", 20);
  EXPECT_NEAR(low.children.at(0).descent, 4.8f, 1e-3);
  EXPECT_NEAR(low.children.at(0).ascent, 8.448f + 7.2f, 1e-3);
  const MathNode none = MathBench().Measure(L"\\begin{matrix}\\end{matrix}", 20);
  EXPECT_NEAR(none.children.at(0).ascent, 7.2f, 1e-3);
}

// Nodes built by hand without their parts measure and draw as if the parts were empty.
TEST(MeasureMathNode, MissingPartsCountAsEmpty) {
  MathBench bench;
  for (MathNodeKind kind : {MathNodeKind::Fraction, MathNodeKind::Radical, MathNodeKind::Scripts,
                            MathNodeKind::BigOperator, MathNodeKind::Delimited, MathNodeKind::Accent,
                            MathNodeKind::Matrix}) {
    MathNode node(kind);
    MeasureMathNode(bench.measurer, node, 20, false);
    EXPECT_TRUE(std::isfinite(node.width + node.ascent + node.descent) && node.width >= 0) << int(kind);
    DrawMathNode(bench.graphics, node, 0, 0, 20, kInk, false);
  }
}

// Glyph strings in drawing order with their sizes: children are set smaller but never below their
// floors, and no glyph below 7.5.
const struct {
  const wchar_t* source;
  float s;
  std::vector<std::pair<std::wstring, float>> glyphs;
} kGlyphSizes[] = {
    {L"\\frac{a}{b}", 20, {{L"a", 16}, {L"b", 16}}},
    {L"\\frac{\\frac{a}{b}}{c}", 8, {{L"a", 9}, {L"b", 9}, {L"c", 9}}},
    {L"x^{y^{z}}", 10, {{L"x", 10}, {L"y", 8.5f}, {L"z", 8.5f}}},
    {L"\\sqrt[3]{x}", 20, {{L"3", 11.6f}, {L"x", 20}}},
    {L"\\sqrt[3]{x}", 10, {{L"3", 8}, {L"x", 10}}},
    {L"\\sum_i^n", 20, {{L"\u2211", 29.6f}, {L"n", 13.2f}, {L"i", 13.2f}}},
    {L"\\int_0^1", 10, {{L"\u222B", 14.8f}, {L"1", 8.5f}, {L"0", 8.5f}}},
    {L"\\int", 4, {{L"\u222B", 7.5f}}},
    {L"\\lim_{x}", 20, {{L"lim", 20}, {L"x", 13.2f}}},
    {L"\\begin{pmatrix} a \\end{pmatrix} \\begin{matrix} b \\end{matrix}", 5, {{L"a", 9}, {L"b", 9}}},
    {L"\\begin{matrix} a \\end{matrix}", 20, {{L"a", 17.6f}}},
    {L"a", 5, {{L"a", 7.5f}}},
};

TEST(DrawMathNode, GlyphSizes) {
  for (const auto& c : kGlyphSizes) {
    MathBench bench;
    bench.Draw(c.source, c.s, 0, 100);
    SCOPED_TRACE(MathBench::Narrow(c.source) + " at " + std::to_string(c.s) + "\n" + bench.canvas.Describe());
    const auto glyphs = bench.canvas.CallsOf(DrawCallKind::Glyphs);
    ASSERT_EQ(glyphs.size(), c.glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
      EXPECT_EQ(glyphs[i]->text, c.glyphs[i].first);
      EXPECT_EQ(glyphs[i]->font.family, L"Cambria Math");
      EXPECT_FLOAT_EQ(glyphs[i]->font.pixelSize, c.glyphs[i].second);
    }
  }
}

// Only a single ASCII letter is italic; a bold block makes every math glyph bold.
TEST(DrawMathNode, GlyphStyles) {
  const struct {
    const wchar_t* source;
    bool bold;
    unsigned style;
  } cases[] = {
      {L"x", false, kFontItalic},         {L"\\alpha", false, kFontRegular}, {L"\\{", false, kFontRegular},
      {L"\\sin", false, kFontRegular},    {L"\\text{a}", false, kFontRegular}, {L"2", false, kFontRegular},
      {L"x", true, kFontItalic | kFontBold}, {L"+", true, kFontBold},        {L"\\sum", true, kFontBold},
  };
  for (const auto& c : cases) {
    MathBench bench;
    bench.Draw(c.source, 20, 0, 100, c.bold);
    ASSERT_EQ(bench.canvas.CountOf(DrawCallKind::Glyphs), 1u) << MathBench::Narrow(c.source);
    EXPECT_EQ(bench.canvas.Calls()[0].font.style, c.style) << MathBench::Narrow(c.source) << (c.bold ? " bold" : "");
  }
}

}  // namespace
