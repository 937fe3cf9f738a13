#include "draw/recording_canvas.h"

#include <gtest/gtest.h>

#include <array>

#include "draw/fixed_measurer.h"

namespace {

const FontSpec kBody{L"Segoe UI", 20.0f, kFontRegular};

TEST(RecordingCanvas, KeepsOrderArgumentsAndNestingOfCalls) {
  RecordingCanvas canvas;
  canvas.PushScale(2, 2);
  canvas.FillRoundedRect({1, 2, 30, 40}, 5, 0xFF112233);
  canvas.PushClip({0, 0, 10, 10});
  canvas.PushRoundedClip({2, 2, 6, 6}, 3);
  const std::array<PointF, 3> curve = {PointF{0, 0}, PointF{4, 8}, PointF{0, 16}};
  canvas.DrawCurve(curve, 0.55f, {0xFF00FF00, 1.5f, LineCap::Round, LineJoin::Round});
  canvas.Pop();
  canvas.DrawGlyphs(L"x", {L"Cambria Math", 18, kFontItalic | kFontBold}, 0xFF0000FF, {3, 4});
  canvas.Pop();
  canvas.FillCircle({10, 10}, 4, LinearGradient{{6, 6}, {14, 14}, 0xFFFFFFFF, 0xFF000000});
  canvas.Pop();
  canvas.Pop();  // one too many: kept, counted, harmless

  const std::string all = canvas.Describe();
  const std::vector<std::string> expected = {
      "PushScale 2x2 depth=0",
      "FillRoundedRect rect=(1,2 30x40) radius=5 fill=#FF112233 depth=1",
      "PushClip rect=(0,0 10x10) depth=1",
      "PushRoundedClip rect=(2,2 6x6) radius=3 depth=2",
      "Curve (0,0)(4,8)(0,16) tension=0.55 stroke=#FF00FF00 width=1.5 round-caps round-joins depth=3",
      "Pop depth=2",
      "Glyphs \"x\" at (3,4) font=\"Cambria Math\" 18px bold italic fill=#FF0000FF depth=2",
      "Pop depth=1",
      "FillEllipse rect=(6,6 8x8) gradient=#FFFFFFFF@(6,6)..#FF000000@(14,14) depth=1",
      "Pop depth=0",
      "Pop depth=0",
  };
  ASSERT_EQ(canvas.Calls().size(), expected.size()) << all;
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(DescribeDrawCall(canvas.Calls()[i]), expected[i]) << all;
  EXPECT_EQ(canvas.Depth(), 0);
  EXPECT_EQ(canvas.UnmatchedPops(), 1);

  // The finders see the same calls, with their arguments as given.
  const auto glyphs = canvas.CallsOf(DrawCallKind::Glyphs);
  ASSERT_EQ(glyphs.size(), 1u);
  EXPECT_EQ(glyphs[0]->font.family, L"Cambria Math");
  EXPECT_EQ(canvas.CountOf(DrawCallKind::Pop), 4u);
  EXPECT_EQ(canvas.CallsOf(DrawCallKind::Curve)[0]->points, std::vector<PointF>(curve.begin(), curve.end()));
}

TEST(RecordingCanvas, KeepsPathsTextBoxesAndTextsInDrawingOrder) {
  RecordingCanvas canvas;
  canvas.DrawTextBox(L"Tavisk", kBody, 0xFF484850, {84, 0, 220, 41},
                     {TextAlign::Center, TextAlign::Center, false, true});
  canvas.StrokePath(Path().MoveTo({0, 0}).LineTo({5, 0}).BezierTo({6, 1}, {7, 2}, {8, 8}).Close(),
                    {0xFF000000, 2});
  canvas.DrawGlyphs(L"b", kBody, 0xFF000000, {0, 0});
  canvas.FillPath(Path().AddRoundedRectangle({0, 0, 10, 4}, 1), 0x69FFFFFF);

  EXPECT_EQ(canvas.Texts(), (std::vector<std::wstring>{L"Tavisk", L"b"}));
  EXPECT_EQ(DescribeDrawCall(canvas.Calls()[0]),
            "TextBox \"Tavisk\" in (84,0 220x41) font=\"Segoe UI\" 20px fill=#FF484850 align=center/center "
            "ellipsis depth=0");
  EXPECT_EQ(DescribeDrawCall(canvas.Calls()[1]),
            "StrokePath M(0,0) L(5,0) C(6,1)(7,2)(8,8) Z stroke=#FF000000 width=2 depth=0");
  EXPECT_EQ(DescribeDrawCall(canvas.Calls()[3]),
            "FillPath A(0,0 2x2) 180+90 A(8,0 2x2) 270+90 A(8,2 2x2) 0+90 A(0,2 2x2) 90+90 Z fill=#69FFFFFF depth=0");
}

TEST(RoundedRectPath, CutsTheRadiusToHalfTheSmallerSideAndFallsBackToCorners) {
  struct Case {
    RectF rect;
    float radius;
    Path expected;
  };
  const Path plain = Path().MoveTo({1, 2}).LineTo({4, 2}).LineTo({4, 6}).LineTo({1, 6}).Close();
  const std::vector<Case> cases = {
      // A pill: the radius 100 becomes 3, half the height.
      {{10, 20, 40, 6}, 100,
       Path()
           .ArcTo({10, 20, 6, 6}, 180, 90)
           .ArcTo({44, 20, 6, 6}, 270, 90)
           .ArcTo({44, 20, 6, 6}, 0, 90)
           .ArcTo({10, 20, 6, 6}, 90, 90)
           .Close()},
      // No radius left: a plain closed rectangle.
      {{1, 2, 3, 4}, 0, plain},
      {{1, 2, 3, 4}, -5, plain},
      // Empty rectangles add nothing.
      {{1, 2, 0, 4}, 2, Path()},
      {{1, 2, 3, -1}, 2, Path()},
  };
  for (const Case& c : cases) {
    RecordingCanvas got;
    got.FillPath(Path().AddRoundedRectangle(c.rect, c.radius), 0xFF000000);
    RecordingCanvas want;
    want.FillPath(c.expected, 0xFF000000);
    EXPECT_EQ(got.Describe(), want.Describe()) << "radius " << c.radius;
  }
}

TEST(FixedAdvanceMeasurer, MeasuresEveryCodeUnitAlikeTrailingSpacesIncluded) {
  struct Case {
    std::wstring text;
    float size;
    SizeF expected;
  };
  const std::vector<Case> cases = {
      {L"", 20, {0, 0}},
      {L"a", 20, {10, 24}},
      {L"ab", 20, {20, 24}},
      {L"ab ", 20, {30, 24}},
      {L"   ", 10, {15, 12}},
      {L"\U0001D465", 10, {10, 12}},  // one character, two UTF-16 code units
  };
  FixedAdvanceMeasurer measurer;
  for (const Case& c : cases) {
    const SizeF size = measurer.Measure(c.text, {L"Any", c.size, kFontBold});
    EXPECT_FLOAT_EQ(size.width, c.expected.width) << c.text.size();
    EXPECT_FLOAT_EQ(size.height, c.expected.height) << c.text.size();
  }
  FixedAdvanceMeasurer wide(1.0f, 2.0f);
  EXPECT_EQ(wide.Measure(L"abc", {L"Any", 10}), (SizeF{30, 20}));
}

TEST(FixedAdvanceMeasurer, WrapsGreedilyAtSpacesAndLineFeeds) {
  struct Case {
    std::wstring text;
    float maxWidth;  // in advances of 10 (size 20)
    SizeF expected;
  };
  const std::vector<Case> cases = {
      {L"", 100, {0, 0}},
      {L"ab cd", 0, {0, 0}},
      {L"ab cd", 50, {50, 24}},         // "ab cd" just fits
      {L"ab cd", 49, {20, 48}},         // wraps; the space before the wrap is not counted
      {L"ab   cd", 40, {20, 48}},
      {L"abcdefgh ij", 30, {80, 48}},   // a word wider than the line stands alone
      {L"ab\ncd\n\nef", 100, {20, 96}},  // a blank paragraph is a line of its own
      {L"ab\n", 100, {20, 24}},
  };
  FixedAdvanceMeasurer measurer;
  for (const Case& c : cases) {
    const SizeF size = measurer.MeasureWrapped(c.text, kBody, c.maxWidth);
    EXPECT_EQ(size, c.expected) << "width " << c.maxWidth << " got " << size.width << "x" << size.height;
  }
  EXPECT_EQ(measurer.Calls(), int(cases.size()));
}

}  // namespace
