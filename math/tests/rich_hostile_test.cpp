// Hostile answers lay out and draw without a crash, scroll to their end and keep every metric
// finite. Run natively under AddressSanitizer and UBSan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "math/math_draw.h"
#include "math/math_parser.h"
#include "math/rich_draw.h"
#include "math/rich_layout.h"

namespace {

std::wstring Repeat(std::wstring_view piece, size_t times) {
  std::wstring out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

bool Finite(const MathNode& node) {
  bool finite = std::isfinite(node.width + node.ascent + node.descent);
  for (const MathNode& child : node.children) finite = finite && Finite(child);
  for (const MathNode* child : {node.a.get(), node.b.get(), node.c.get()}) finite = finite && (!child || Finite(*child));
  return finite;
}

TEST(RichTextHostile, LaysOutDrawsAndScrollsToTheEnd) {
  const std::wstring lone{wchar_t(0xD800), L' ', wchar_t(0xDFFF), L'$', L'x', L'^', wchar_t(0xDC00), L'$', L' ',
                          L'\\', L'(', wchar_t(0xDBFF), L'\\', L')', L'\n'};
  const struct {
    const char* name;
    std::wstring text;
  } cases[] = {
      {"100,000 characters", Repeat(L"Since $x^2 - 5x + 6 = 0$ we find \\(x = \\frac{5 \\pm 1}{2}\\), so\n"
                                    L"$$\\sum_{i=1}^{n} i = \\frac{n(n+1)}{2}$$ and the roots are real. ",
                                    700)},
      {"braces past the nesting bound", L"$" + Repeat(L"{", 100000) + L"x$"},
      {"fractions to the nesting bound", L"$$" + Repeat(L"\\frac{1}{", kMaxMathNesting) + L"x$$"},
      {"scripts, radicals and delimiters past the bound",
       L"\\(" + Repeat(L"x^{\\sqrt[\\left(", kMaxMathNesting + 8) + L"y\\)"},
      {"a matrix of 1,000 cells",
       L"$$\\begin{pmatrix}" + Repeat(Repeat(L"a_1 & ", 9) + L"\\frac{1}{2} \\\\", 100) + L"\\end{pmatrix}$$"},
      {"lone surrogates", Repeat(lone, 200)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedAdvanceMeasurer measurer;
    RecordingCanvas canvas;
    MathGraphics graphics{canvas, measurer};
    float scroll = 1e30f;  // the very end
    float maxScroll = -1;
    DrawRichText(graphics, c.text + L" THE-END", {0, 0, 360, 200}, 19.5f, 0xFF000000, true, scroll, maxScroll);
    EXPECT_TRUE(std::isfinite(maxScroll) && maxScroll >= 0);
    EXPECT_EQ(scroll, maxScroll);
    EXPECT_EQ(canvas.Depth(), 0);
    ASSERT_FALSE(canvas.Texts().empty());
    EXPECT_TRUE(canvas.Texts().back().ends_with(L"THE-END")) << canvas.Texts().back();

    const RichTextLayout layout = LayOutRichText(measurer, c.text, 360, 200, 19.5f, false);
    EXPECT_TRUE(std::isfinite(layout.height));
    for (const RichToken& token : layout.tokens) EXPECT_TRUE(!token.isMath || Finite(token.tree));
  }
}

// A tree far taller than its block draws only what can show: its glyphs near the view, at the top
// and scrolled to the end, and nothing is lost at the edges (the same glyphs as drawing everything,
// within the view).
TEST(RichTextHostile, DrawsOnlyTheNodesNearTheView) {
  const std::wstring matrix =
      L"$$\\begin{pmatrix}" + Repeat(Repeat(L"a_1 & ", 9) + L"\\frac{1}{2} \\\\", 100) + L"\\end{pmatrix}$$";
  const RectF block{0, 0, 360, 200};
  for (float wanted : {0.0f, 1e30f}) {
    SCOPED_TRACE(wanted);
    FixedAdvanceMeasurer measurer;
    RecordingCanvas culled;
    float scroll = wanted, maxScroll = 0;
    DrawRichText(MathGraphics{culled, measurer}, matrix, block, 19.5f, 0xFF000000, false, scroll, maxScroll);
    ASSERT_GT(maxScroll, 1000);

    // Everything, drawn node by node with no view given.
    const RichTextLayout layout = LayOutRichText(measurer, matrix, block.width, block.height, 19.5f, false);
    ASSERT_EQ(layout.lines.size(), 1u);
    RecordingCanvas whole;
    const RichToken& token = layout.tokens[layout.lines[0].first];
    const float pen = std::max(0.0f, (block.width - layout.lines[0].width) / 2);
    DrawMathNode(MathGraphics{whole, measurer}, token.tree, pen, -scroll + layout.lines[0].ascent,
                 RichMathSize(token, layout.s), 0xFF000000, false);

    auto inView = [&](const DrawCall* call) {
      const float top = call->points[0].y;
      return top < block.Bottom() && top + 2 * 19.5f > block.y;
    };
    std::vector<std::wstring> drawn, shown;
    for (const DrawCall* call : culled.CallsOf(DrawCallKind::Glyphs)) drawn.push_back(call->text);
    for (const DrawCall* call : whole.CallsOf(DrawCallKind::Glyphs)) {
      if (inView(call)) shown.push_back(call->text);
    }
    EXPECT_LT(drawn.size(), whole.CountOf(DrawCallKind::Glyphs) / 10);
    EXPECT_FALSE(shown.empty());
    for (const DrawCall* call : whole.CallsOf(DrawCallKind::Glyphs)) {
      if (!inView(call)) continue;
      bool found = false;
      for (const DrawCall* c : culled.CallsOf(DrawCallKind::Glyphs)) {
        DrawCall unclipped = *c;
        unclipped.depth = call->depth;  // the block's own clip is around the culled ones
        found = found || unclipped == *call;
      }
      EXPECT_TRUE(found) << DescribeDrawCall(*call);
    }
  }
}

// Where a recorded call can leave ink: the box of its glyphs as the measurer lays them out, or
// its points with half the pen's width around them.
RectF CallBounds(GlyphMeasurer& measurer, const DrawCall& call) {
  if (call.kind == DrawCallKind::Glyphs) {
    const SizeF size = measurer.Measure(call.text, call.font);
    return {call.points[0].x, call.points[0].y, size.width, size.height};
  }
  if (call.points.empty()) return call.rect;
  float left = call.points[0].x, right = left, top = call.points[0].y, bottom = top;
  for (PointF p : call.points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const float half = call.stroke.width / 2;
  return {left - half, top - half, right - left + 2 * half, bottom - top + 2 * half};
}

bool Meets(const RectF& a, const RectF& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

// The math of a laid-out block drawn as DrawRichText places it, every node of every line, with
// nothing left out for being out of view.
RecordingCanvas DrawAllMath(GlyphMeasurer& measurer, const RichTextLayout& layout, const RectF& block, float scroll) {
  RecordingCanvas whole;
  float top = block.y - scroll;
  for (const RichLine& line : layout.lines) {
    const float baseline = top + line.ascent;
    float pen = line.centered ? block.x + std::max(0.0f, (block.width - line.width) / 2) : block.x;
    for (size_t i = line.first; i < line.end; ++i) {
      const RichToken& token = layout.tokens[i];
      if (token.isMath) {
        DrawMathNode(MathGraphics{whole, measurer}, token.tree, pen, baseline, RichMathSize(token, layout.s),
                     0xFF000000, false);
      }
      pen += token.width;
    }
    top += line.ascent + line.descent + layout.lineGap;
  }
  return whole;
}

// Parts of a tree can reach far out of their parent's box: a radical's index above it, a tall
// subscript above and a tall superscript below, an integral's limit below. Scrolled pixel by
// pixel through a small block, every call of the math that leaves ink in the block is drawn.
TEST(RichTextHostile, DrawsInkThatSticksOutOfItsBox) {
  const std::wstring tower = L"\\frac{\\frac{\\frac{1}{2}}{3}}{4}";
  const std::wstring cases[] = {
      L"$\\frac{" + tower + L"}{5} \\sqrt[" + tower + L"]{x}$",
      L"words\n$\\frac{" + tower + L"}{5} x_{" + tower + L"}$\nmore words",
      L"$x^{\\frac{1}{" + tower + L"}}$ below\nand $y$ after",
      L"$$\\int^{\\frac{1}{" + tower + L"}} f$$ next\nline",
  };
  const RectF block{10, 20, 360, 26};
  for (const std::wstring& text : cases) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    FixedAdvanceMeasurer measurer;
    const RichTextLayout layout = LayOutRichText(measurer, text, block.width, block.height, 20, false);
    ASSERT_GT(layout.height, block.height);
    for (float wanted = 0; wanted <= layout.height - block.height + 1; wanted += 1) {
      RecordingCanvas culled;
      float scroll = wanted, maxScroll = 0;
      DrawRichText(MathGraphics{culled, measurer}, text, block, 20, 0xFF000000, false, scroll, maxScroll);
      const RecordingCanvas whole = DrawAllMath(measurer, layout, block, scroll);
      for (const DrawCall& call : whole.Calls()) {
        if (!Meets(CallBounds(measurer, call), block)) continue;
        bool found = false;
        for (const DrawCall& c : culled.Calls()) {
          DrawCall unclipped = c;
          unclipped.depth = call.depth;
          found = found || unclipped == call;
        }
        EXPECT_TRUE(found) << "scrolled " << scroll << ", lost " << DescribeDrawCall(call);
      }
    }
  }
}

}  // namespace
