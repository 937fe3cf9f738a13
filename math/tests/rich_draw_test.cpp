// Drawing whole blocks: clipping, centred display lines, scrolling and the thumb. At s = 10 a word
// line is 8 + 2.8 high and lines are 2.4 apart, so line k (from 0) has its top 13.2·k down.
#include "math/rich_draw.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>
#include <string>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "math/text_scroll.h"

namespace {

constexpr Argb kText = 0xFF112233;
constexpr float kEps = 1e-3f;

struct Block {
  FixedAdvanceMeasurer measurer;
  RecordingCanvas canvas;
  float scroll = 0;
  float maxScroll = 0;

  Block& Draw(std::wstring_view text, const RectF& rect, float s, bool bold = false) {
    MathGraphics graphics{canvas, measurer};
    DrawRichText(graphics, text, rect, s, kText, bold, scroll, maxScroll);
    return *this;
  }
  PointF At(std::wstring_view text) const {
    for (const DrawCall* call : canvas.CallsOf(DrawCallKind::Glyphs)) {
      if (call->text == text) return call->points[0];
    }
    ADD_FAILURE() << "not drawn:\n" << canvas.Describe();
    return {};
  }
};

std::wstring Lines(int count) {
  std::wstring text;
  for (int i = 1; i <= count; ++i) text += L"line" + std::to_wstring(i) + L"\n";
  return text;
}

TEST(DrawRichText, DisplayMathSitsOnItsOwnCentredLine) {
  Block block;
  block.Draw(L"Before $$x$$ after", {10, 20, 300, 500}, 20);
  // x at 1.12·s = 22.4 is 11.2 wide plus 1.344 a side, centred in the full width, 0.25·s = 5
  // below the line's top; the next line starts 5 below its descent (0.24 × 26.88), plus the gap.
  const float secondTop = 20 + 16 + 5.6f + 4.8f;
  EXPECT_NEAR(block.At(L"x").x, 10 + (300 - 13.888f) / 2 + 0.896f, kEps);
  EXPECT_NEAR(block.At(L"x").y, secondTop + 5, kEps);
  EXPECT_NEAR(block.At(L"after").y, secondTop + 5 + 26.88f + 5 + 4.8f, kEps);
  EXPECT_NEAR(block.At(L"after").x, 10, kEps);

  // Wider than the block, it starts at the left edge.
  EXPECT_NEAR(Block().Draw(L"$$x + y + z$$", {10, 20, 30, 500}, 20).At(L"x").x, 10 + 0.896f, kEps);
}

TEST(DrawRichText, WordsAndMathShareTheBaseline) {
  Block block;
  block.Draw(L"so $y$ holds", {0, 0, 400, 100}, 10, /*bold=*/true);
  const auto glyphs = block.canvas.CallsOf(DrawCallKind::Glyphs);
  ASSERT_EQ(glyphs.size(), 3u) << block.canvas.Describe();  // the spaces go with the words
  EXPECT_EQ(glyphs[0]->font, (FontSpec{L"Segoe UI Semibold", 10, kFontRegular}));
  EXPECT_EQ(glyphs[1]->font.style, kFontBold | kFontItalic);
  EXPECT_EQ(glyphs[0]->brush.colour, kText);
  // The line is as high as y at 10.4 (9.4848 up); words hang 0.8·s from the baseline.
  EXPECT_NEAR(block.At(L"so ").y, 9.4848f - 8, kEps);
  EXPECT_NEAR(block.At(L"y").y, 0, kEps);
  EXPECT_NEAR(block.At(L"y").x, 15 + 0.416f, kEps);
  EXPECT_NEAR(block.At(L" holds").x, 15 + 0.62f * 10.4f, kEps);
}

// The words of a line between math runs are one string each, drawn where the first of them was
// laid out; a new line starts a new string, and a line feed is never drawn.
TEST(DrawRichText, DrawsEachStretchOfWordsAsOneString) {
  Block block;
  block.Draw(L"one two three four\nfive $x$ six", {0, 0, 80, 400}, 10);
  std::vector<std::wstring> texts;
  for (const DrawCall* call : block.canvas.CallsOf(DrawCallKind::Glyphs)) texts.push_back(call->text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"one two three", L"four", L"five ", L"x", L" six"}))
      << block.canvas.Describe();
  EXPECT_NEAR(block.At(L" six").x, block.At(L"x").x - 0.416f + 0.62f * 10.4f, kEps);  // after the run of x
}

TEST(DrawRichText, ClipsAndDrawsOnlyTheLinesInView) {
  Block block;
  block.scroll = 30;
  const RectF rect{0, 100, 200, 20};
  block.Draw(Lines(20), rect, 10);
  // Content 30..50 is in view: line 3 (26.4..37.2, partly above) and line 4 (39.6..50.4).
  EXPECT_EQ(block.canvas.Texts(), (std::vector<std::wstring>{L"line3", L"line4"})) << block.canvas.Describe();
  EXPECT_NEAR(block.At(L"line3").y, 100 - 30 + 26.4f, kEps);
  const std::vector<DrawCall>& calls = block.canvas.Calls();
  EXPECT_EQ(calls.front().kind, DrawCallKind::PushClip);
  EXPECT_EQ(calls.front().rect, rect);
  for (const DrawCall* glyphs : block.canvas.CallsOf(DrawCallKind::Glyphs)) EXPECT_EQ(glyphs->depth, 1);
  EXPECT_EQ(calls.back().kind, DrawCallKind::FillRoundedRect);  // the thumb, outside the clip
  EXPECT_EQ(calls.back().depth, 0);
  EXPECT_EQ(block.canvas.Depth(), 0);
}

TEST(DrawRichText, ScrollIsClamped) {
  // 20 lines: 20 × 10.8 + 19 × 2.4 = 261.6 high in a block 100 high.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float scroll, expected;
  } cases[] = {{-5, 0}, {40, 40}, {161.6f, 161.6f}, {1e9f, 161.6f}, {nan, 0}};
  for (const auto& c : cases) {
    Block block;
    block.scroll = c.scroll;
    block.Draw(Lines(20), {0, 0, 200, 100}, 10);
    EXPECT_NEAR(block.maxScroll, 161.6f, kEps);
    EXPECT_NEAR(block.scroll, c.expected, kEps) << "from " << c.scroll;
  }
  Block fits;
  fits.scroll = 25;
  fits.maxScroll = 99;
  fits.Draw(L"short", {0, 0, 200, 100}, 10);
  EXPECT_EQ(fits.maxScroll, 0);
  EXPECT_EQ(fits.scroll, 0);
  EXPECT_EQ(fits.canvas.CountOf(DrawCallKind::FillRoundedRect), 0u);
}

TEST(DrawRichText, NothingForAnEmptyRectangleOrSize) {
  const struct {
    RectF rect;
    float s;
  } cases[] = {{{0, 0, 0, 100}, 10}, {{0, 0, 100, 0}, 10}, {{0, 0, -5, 100}, 10}, {{0, 0, 100, 100}, 0}};
  for (const auto& c : cases) {
    Block block;
    block.scroll = 12;
    block.maxScroll = 34;
    block.Draw(Lines(50), c.rect, c.s);
    EXPECT_TRUE(block.canvas.Calls().empty());
    EXPECT_EQ(block.scroll, 12);
    EXPECT_EQ(block.maxScroll, 34);
  }
}

TEST(DrawRichText, Thumb) {
  const float proportional = 100 * 100 / 261.6f;  // 20 lines in a block 100 high
  const struct {
    int lines;
    float scroll, height, top;
  } cases[] = {
      {20, 0, proportional, 0},
      {20, 80.8f, proportional, (100 - proportional) / 2},
      {400, 1e9f, 12, 88},  // proportionally under 2 pixels high
  };
  for (const auto& c : cases) {
    Block block;
    block.scroll = c.scroll;
    block.Draw(Lines(c.lines), {30, 40, 200, 100}, 10);
    ASSERT_EQ(block.canvas.CountOf(DrawCallKind::FillRoundedRect), 1u);
    const DrawCall& thumb = *block.canvas.CallsOf(DrawCallKind::FillRoundedRect)[0];
    EXPECT_NEAR(thumb.rect.x, 227, kEps);
    EXPECT_NEAR(thumb.rect.width, 3, kEps);
    EXPECT_NEAR(thumb.rect.height, c.height, kEps) << c.lines << " lines from " << c.scroll;
    EXPECT_NEAR(thumb.rect.y, 40 + c.top, kEps) << c.lines << " lines from " << c.scroll;
    EXPECT_FLOAT_EQ(thumb.radius, 1.5f);
    EXPECT_EQ(thumb.brush.colour, 0x69112233u);
  }
}

}  // namespace
