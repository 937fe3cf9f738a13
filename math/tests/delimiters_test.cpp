// Stretchy delimiters in a box 10 wide and 40 high from (10, 20).
#include "math/delimiters.h"

#include <gtest/gtest.h>

#include <vector>

#include "draw/recording_canvas.h"

namespace {

constexpr Argb kInk = 0xFF405060;

TEST(DrawDelimiter, StrokedShapes) {
  const struct {
    const wchar_t* delimiter;
    DrawCallKind kind;
    std::vector<std::vector<PointF>> strokes;  // the points of each call
  } cases[] = {
      {L"(", DrawCallKind::Curve, {{{17.8f, 20}, {11.6f, 40}, {17.8f, 60}}}},
      {L")", DrawCallKind::Curve, {{{12.2f, 20}, {18.4f, 40}, {12.2f, 60}}}},
      {L"[", DrawCallKind::Polyline, {{{17.8f, 20}, {12.6f, 20}, {12.6f, 60}, {17.8f, 60}}}},
      {L"]", DrawCallKind::Polyline, {{{12.2f, 20}, {17.4f, 20}, {17.4f, 60}, {12.2f, 60}}}},
      {L"|", DrawCallKind::Line, {{{15, 20}, {15, 60}}}},
      {L"\u2016", DrawCallKind::Line, {{{13.2f, 20}, {13.2f, 60}}, {{16.8f, 20}, {16.8f, 60}}}},
      {L"{", DrawCallKind::Polyline,
       {{{18.2f, 20}, {14.5f, 24.8f}, {14.5f, 36.8f}, {11.4f, 40}, {14.5f, 43.2f}, {14.5f, 55.2f}, {18.2f, 60}}}},
      {L"}", DrawCallKind::Polyline,
       {{{11.8f, 20}, {15.5f, 24.8f}, {15.5f, 36.8f}, {18.6f, 40}, {15.5f, 43.2f}, {15.5f, 55.2f}, {11.8f, 60}}}},
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    DrawDelimiter(canvas, c.delimiter, 10, 20, 40, 10, kInk);
    SCOPED_TRACE(canvas.Describe());
    ASSERT_EQ(canvas.Calls().size(), c.strokes.size());
    for (size_t i = 0; i < c.strokes.size(); ++i) {
      const DrawCall& call = canvas.Calls()[i];
      EXPECT_EQ(call.kind, c.kind);
      ASSERT_EQ(call.points.size(), c.strokes[i].size());
      for (size_t p = 0; p < call.points.size(); ++p) {
        EXPECT_NEAR(call.points[p].x, c.strokes[i][p].x, 1e-4);
        EXPECT_NEAR(call.points[p].y, c.strokes[i][p].y, 1e-4);
      }
      EXPECT_NEAR(call.stroke.width, 2.2f, 1e-6);  // 0.22 × the width
      EXPECT_EQ(call.stroke.cap, LineCap::Round);
      EXPECT_EQ(call.stroke.join, LineJoin::Round);
      EXPECT_EQ(call.tension, c.kind == DrawCallKind::Curve ? 0.55f : 0.0f);
    }
  }
  RecordingCanvas thin;
  DrawDelimiter(thin, L"[", 0, 0, 30, 2, kInk);
  EXPECT_FLOAT_EQ(thin.Calls().at(0).stroke.width, 1.1f);  // never thinner
  DrawDelimiter(thin, L"", 0, 0, 30, 2, kInk);
  EXPECT_EQ(thin.Calls().size(), 1u);
}

// Any other delimiter is a glyph at the box's corner, at the smaller of 2.5 × the box's width and
// 0.9 × its height, but never below 7.5.
TEST(DrawDelimiter, OtherDelimitersAreGlyphsSizedByTheBox) {
  const struct {
    const wchar_t* delimiter;
    float width, height, size;
  } cases[] = {{L"\u27E8", 10, 40, 25}, {L"/", 10, 10, 9}, {L"\u230A", 2, 4, 7.5f}, {L"\u2309", 6.8f, 100, 17}};
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    DrawDelimiter(canvas, c.delimiter, 10, 20, c.height, c.width, kInk);
    ASSERT_EQ(canvas.Calls().size(), 1u) << canvas.Describe();
    const DrawCall& glyph = canvas.Calls()[0];
    EXPECT_EQ(glyph.kind, DrawCallKind::Glyphs);
    EXPECT_EQ(glyph.text, c.delimiter);
    EXPECT_EQ(glyph.font, (FontSpec{L"Cambria Math", c.size, kFontRegular}));
    EXPECT_EQ(glyph.points[0], (PointF{10, 20}));
    EXPECT_EQ(glyph.brush.colour, kInk);
  }
}

}  // namespace
