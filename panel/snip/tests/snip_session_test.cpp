// Dragging a snip: the rectangle that is sent, the smallest one that counts, the size label, and
// what the overlay draws.
#include <gtest/gtest.h>

#include <vector>

#include "draw/recording_canvas.h"
#include "panel/snip/snip_drawing.h"
#include "panel/snip/snip_session.h"

namespace {

struct Point {
  int x, y;
};

struct DragCase {
  const char* name;
  PixelRect desktop;
  std::vector<Point> points;  // press, moves; the release is not a point of its own
  bool accept;
  const wchar_t* sent;  // nullptr: no query
};

TEST(SnipSession, FinishedDragsGiveTheDesktopRectangleOrNothing) {
  const PixelRect primary{0, 0, 1920, 1080};
  const PixelRect leftMonitor{-1920, 0, 1920, 1080};
  const std::vector<DragCase> cases = {
      {"up and to the left", primary, {{100, 100}, {70, 60}, {50, 40}}, true, L"50,40,100,100"},
      {"monitor left of the primary", leftMonitor, {{10, 20}, {60, 90}}, true, L"-1910,20,-1860,90"},
      {"offset on both axes", {-100, -50, 100, 50}, {{0, 0}, {200, 100}}, true, L"-100,-50,100,50"},
      {"7 wide", primary, {{10, 10}, {17, 40}}, true, nullptr},
      {"7 tall", primary, {{10, 10}, {40, 17}}, true, nullptr},
      {"8 x 8", primary, {{10, 10}, {18, 18}}, true, L"10,10,18,18"},
      {"click without a drag", primary, {{300, 300}}, true, nullptr},
      {"no press at all", primary, {}, true, nullptr},
      {"cancelled", primary, {{10, 10}, {200, 200}}, false, nullptr},
      {"beyond the overlay keeps the desktop point", primary, {{1900, 1000}, {2100, 1200}}, true,
       L"1900,1000,2100,1200"},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    SnipSession session(c.desktop);
    for (size_t i = 0; i < c.points.size(); ++i) {
      if (i == 0) {
        session.Press(c.points[i].x, c.points[i].y);
      } else {
        EXPECT_TRUE(session.Move(c.points[i].x, c.points[i].y));
      }
    }
    std::optional<PixelRect> sent = session.Finish(c.accept);
    EXPECT_FALSE(session.dragging());
    if (c.sent) {
      ASSERT_TRUE(sent);
      EXPECT_EQ(SnipRectText(*sent), c.sent);
    } else {
      EXPECT_FALSE(sent);
    }
    EXPECT_FALSE(session.Finish(true));  // a second end finds nothing to send
  }
}

TEST(SnipSession, MovesWithoutAPressDrawNothing) {
  SnipSession session({0, 0, 640, 480});
  EXPECT_FALSE(session.Move(10, 10));
  EXPECT_FALSE(session.Selection());
  session.Press(10, 10);
  EXPECT_FALSE(session.Selection());  // empty until the pointer moves
  session.Move(-50, 600);
  EXPECT_EQ(session.Selection(), (PixelRect{0, 10, 10, 480}));  // clamped to the overlay
}

TEST(SnipSession, SizeLabelNeedsMoreThan35By17) {
  struct Case {
    int width, height;
    bool shown;
  };
  for (const Case& c : {Case{36, 18, true}, Case{30, 30, false}, Case{35, 100, false}, Case{100, 17, false},
                        Case{1920, 1080, true}}) {
    EXPECT_EQ(SnipLabelShown(c.width, c.height), c.shown) << c.width << "x" << c.height;
  }
  EXPECT_EQ(SnipLabelText(36, 18), L"36 \u00D7 18");
}

TEST(SnipDrawing, DimEverywhereButTheSelection) {
  constexpr int kWidth = 6, kHeight = 4;
  std::vector<uint32_t> pixels(kWidth * kHeight, 0x12345678u);
  FillSnipPixels(pixels, kWidth, kHeight, PixelRect{1, 1, 3, 4});
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      bool inside = x >= 1 && x < 3 && y >= 1;
      EXPECT_EQ(pixels[y * kWidth + x], inside ? 0u : kSnipDimPixel) << x << "," << y;
    }
  }
  std::vector<uint32_t> tooSmall(kWidth * kHeight - 1, 7u);
  FillSnipPixels(tooSmall, kWidth, kHeight, std::nullopt);
  EXPECT_EQ(tooSmall[0], 7u);
  FillSnipPixels(pixels, kWidth, kHeight, PixelRect{-5, -5, 50, 50});  // held within the buffer
  EXPECT_EQ(pixels.back(), 0u);
}

TEST(SnipDrawing, FramesAlwaysAndTheLabelAboveBigSelections) {
  struct Case {
    PixelRect selection;
    bool label;
    float labelTop;
  };
  for (const Case& c : {Case{{100, 200, 136, 218}, true, 176}, Case{{100, 200, 130, 230}, false, 0},
                        Case{{0, 10, 400, 300}, true, 4}}) {
    SCOPED_TRACE(c.selection.left + c.selection.top);
    RecordingCanvas canvas;
    DrawSnipSelection(canvas, c.selection);
    auto frames = canvas.CallsOf(DrawCallKind::StrokePath);
    ASSERT_EQ(frames.size(), 2u) << canvas.Describe();
    EXPECT_EQ(frames[0]->stroke.colour, 0xA0000000u);
    EXPECT_EQ(frames[0]->stroke.width, 2.5f);
    EXPECT_EQ(frames[1]->stroke.colour, 0xF0FFFFFFu);  // the light one on top
    EXPECT_EQ(frames[1]->stroke.width, 1.5f);
    Path expected;
    expected.AddRoundedRectangle(RectF{float(c.selection.left), float(c.selection.top), float(c.selection.Width()),
                                  float(c.selection.Height())}, 0);
    EXPECT_EQ(frames[0]->path, expected);
    auto boxes = canvas.CallsOf(DrawCallKind::FillRoundedRect);
    auto texts = canvas.CallsOf(DrawCallKind::TextBox);
    ASSERT_EQ(boxes.size(), c.label ? 1u : 0u);
    ASSERT_EQ(texts.size(), boxes.size());
    if (!c.label) continue;
    EXPECT_EQ(boxes[0]->rect, (RectF{float(c.selection.left), c.labelTop, 76, 20}));
    EXPECT_EQ(boxes[0]->radius, 6);
    EXPECT_EQ(boxes[0]->brush.colour, 0xBE141418u);
    EXPECT_EQ(texts[0]->rect, boxes[0]->rect);
    EXPECT_EQ(texts[0]->text, SnipLabelText(c.selection.Width(), c.selection.Height()));
    EXPECT_EQ(texts[0]->font, (FontSpec{L"Segoe UI", 11, kFontBold}));
    EXPECT_EQ(texts[0]->brush.colour, 0xFFFFFFFFu);
    EXPECT_EQ(texts[0]->textFormat, (TextBoxFormat{TextAlign::Center, TextAlign::Center, false, true}));
  }
}

}  // namespace
