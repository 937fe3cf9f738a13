#include "panel/panel_geometry.h"

#include <gtest/gtest.h>

#include "panel/panel_layout.h"

namespace {

Placement Place(PixelRect work, float dpi, bool first, PixelRect current = {}) {
  Placement p;
  EXPECT_TRUE(PlacePanel(work, current, dpi, first, p));
  return p;
}

TEST(PanelPlacement, FirstPlacementSitsInBottomRightCornerAtNominalSize) {
  Placement p = Place({0, 0, 1920, 1040}, 1.0f, true);
  EXPECT_FLOAT_EQ(p.uiScale, 1.0f);
  EXPECT_EQ(p.window, (PixelRect{1510, 534, 1898, 1020}));
}

TEST(PanelPlacement, ScaleNeverExceedsWorkAreaEvenAtHighDpi) {
  Placement p = Place({0, 0, 1920, 400}, 1.5f, true);
  EXPECT_FLOAT_EQ(p.uiScale, 400.0f / 486.0f);
  EXPECT_EQ(p.window.Height(), 400 - 0);  // round(486 * 400/486)
  EXPECT_GE(p.window.top, 0);
  EXPECT_LE(p.window.bottom, 400);
  // Narrow work areas limit by width instead.
  Placement narrow = Place({0, 0, 300, 1000}, 2.0f, true);
  EXPECT_FLOAT_EQ(narrow.uiScale, 300.0f / 388.0f);
  EXPECT_EQ(narrow.window.left, 0);
  EXPECT_EQ(narrow.window.right, 300);
}

TEST(PanelPlacement, HighDpiMonitorWithRoomScalesUp) {
  Placement p = Place({0, 0, 2880, 1700}, 1.5f, true);
  EXPECT_FLOAT_EQ(p.uiScale, 1.5f);
  EXPECT_EQ(p.window.Width(), 582);
  EXPECT_EQ(p.window.Height(), 729);
  EXPECT_EQ(p.window.right, 2880 - 33);
  EXPECT_EQ(p.window.bottom, 1700 - 30);
}

TEST(PanelPlacement, LaterPlacementKeepsBottomRightCornerAndClampsIntoWorkArea) {
  // A second monitor to the right, with an offset work area.
  PixelRect work{1920, 40, 3840, 1080};
  Placement kept = Place(work, 1.0f, false, {2500, 300, 2888, 786});
  EXPECT_EQ(kept.window, (PixelRect{2500, 300, 2888, 786}));

  // Suggested rectangle from a DPI change hangs over the right and bottom edges.
  Placement clamped = Place(work, 1.25f, false, {3500, 800, 4000, 1300});
  EXPECT_EQ(clamped.window.right, 3840);
  EXPECT_EQ(clamped.window.bottom, 1080);
  EXPECT_EQ(clamped.window.Width(), 485);  // round(388 * 1.25)
  EXPECT_EQ(clamped.window.Height(), 608);  // round(486 * 1.25)

  // And over the left and top edges.
  Placement topLeft = Place(work, 1.0f, false, {1000, -500, 1100, 0});
  EXPECT_EQ(topLeft.window.left, 1920);
  EXPECT_EQ(topLeft.window.top, 40);
}

TEST(PanelPlacement, EmptyWorkAreaLeavesPanelAlone) {
  Placement p;
  p.uiScale = 7.0f;
  EXPECT_FALSE(PlacePanel({0, 0, 0, 1080}, {}, 1.0f, true, p));
  EXPECT_FALSE(PlacePanel({10, 10, 500, 5}, {}, 1.0f, true, p));
  EXPECT_FLOAT_EQ(p.uiScale, 7.0f);
}

TEST(PanelPlacement, NonsenseDpiCountsAsNominal) {
  Placement p = Place({0, 0, 1920, 1080}, 0.0f, true);
  EXPECT_FLOAT_EQ(p.uiScale, 1.0f);
}

TEST(PanelRegion, RoundedCornersAreSymmetricAndInsideTheWindow) {
  for (bool glass : {false, true}) {
    auto spans = RoundedRegionSpans(388, 486, 1.0f, glass);
    ASSERT_EQ(spans.size(), 1u + 2u * 30u) << glass;
    EXPECT_EQ(spans[0], (RegionSpan{0, 30, 388, 456}));
    for (size_t i = 1; i < spans.size(); i += 2) {
      const RegionSpan& top = spans[i];
      const RegionSpan& bottom = spans[i + 1];
      EXPECT_EQ(top.bottom - top.top, 1);
      EXPECT_EQ(top.left, 388 - top.right);             // left/right mirror
      EXPECT_EQ(top.left, bottom.left);                 // top/bottom mirror
      EXPECT_EQ(top.top, 485 - bottom.top);
      EXPECT_GE(top.left, 0);
      EXPECT_LE(top.left, 30);
    }
    // The corner narrows towards the edge: row 0 is inset most, the last corner row least.
    EXPECT_GT(spans[1].left, spans[spans.size() - 2].left);
  }
}

TEST(PanelRegion, GlassOutlineIsTighterThanPlainOne) {
  auto plain = RoundedRegionSpans(388, 486, 1.0f, false);
  auto glass = RoundedRegionSpans(388, 486, 1.0f, true);
  // Row 0: plain d = 29.5 -> dx = sqrt(900 - 870.25) = 5.454 -> floor(25.05) = 25.
  EXPECT_EQ(plain[1].left, 25);
  // Glass d = 29 -> dx = sqrt(59) = 7.68 -> floor(22.32) = 22.
  EXPECT_EQ(glass[1].left, 22);
}

TEST(PanelRegion, SmallOrEmptyWindows) {
  EXPECT_TRUE(RoundedRegionSpans(0, 486, 1.0f, false).empty());
  EXPECT_TRUE(RoundedRegionSpans(388, 0, 1.0f, false).empty());
  // A window smaller than two radii uses half its smaller side as radius.
  auto tiny = RoundedRegionSpans(20, 9, 1.0f, false);
  ASSERT_FALSE(tiny.empty());
  EXPECT_EQ(tiny.size(), 10u);  // ceil(4.5) corner rows each side, no body left between them
  for (const RegionSpan& s : tiny) {
    EXPECT_LT(s.top, s.bottom);
    EXPECT_LT(s.left, s.right);
    EXPECT_GE(s.left, 0);
    EXPECT_LE(s.right, 20);
    EXPECT_GE(s.top, 0);
    EXPECT_LE(s.bottom, 9);
  }
}

TEST(PanelHitTest, HeaderDragsExceptDotsAndIconButtons) {
  const int w = 388;
  EXPECT_EQ(HitTestPanel(200, 20, w, 1.0f, 0), PanelHit::Caption);
  EXPECT_EQ(HitTestPanel(200, 40, w, 1.0f, 0), PanelHit::Caption);
  EXPECT_EQ(HitTestPanel(200, 41, w, 1.0f, 0), PanelHit::Client);
  EXPECT_EQ(HitTestPanel(12, 12, w, 1.0f, 0), PanelHit::Client);   // first dot
  EXPECT_EQ(HitTestPanel(65, 29, w, 1.0f, 0), PanelHit::Client);   // last dot
  EXPECT_EQ(HitTestPanel(66, 20, w, 1.0f, 0), PanelHit::Caption);  // just right of the dots
  EXPECT_EQ(HitTestPanel(30, 30, w, 1.0f, 0), PanelHit::Caption);  // just below them
  EXPECT_EQ(HitTestPanel(w - 40, 20, w, 1.0f, 2), PanelHit::Client);  // Settings on every page
  EXPECT_EQ(HitTestPanel(w - 70, 20, w, 1.0f, 1), PanelHit::Client);  // Snip on pages 0 and 1
  EXPECT_EQ(HitTestPanel(w - 70, 20, w, 1.0f, 2), PanelHit::Caption);
}

TEST(PanelHitTest, ScaledPanelComparesInLogicalPixels) {
  const float s = 1.5f;
  const int w = 582;
  EXPECT_EQ(HitTestPanel(300, 60, w, s, 0), PanelHit::Caption);   // 60 < round(41 * 1.5) = 62
  EXPECT_EQ(HitTestPanel(300, 62, w, s, 0), PanelHit::Client);
  EXPECT_EQ(HitTestPanel(w - 60, 20, w, s, 0), PanelHit::Client);  // logical W - 40: Settings
  EXPECT_EQ(HitTestPanel(w - 10, 20, w, s, 0), PanelHit::Caption);
}

TEST(PanelLayout, AnswerCardsAtNominalSize) {
  AnswerCards shown = AnswerPageCards(388, 486, true);
  EXPECT_FLOAT_EQ(shown.answer.height, 118);  // floor(0.48 * 247)
  EXPECT_FLOAT_EQ(shown.explanation.y, 176 + 118 + 5);
  EXPECT_FLOAT_EQ(shown.explanation.height, 247 - 118);
  ASSERT_TRUE(shown.explanationBody.has_value());
  AnswerCards hidden = AnswerPageCards(388, 486, false);
  EXPECT_FLOAT_EQ(hidden.answer.height, 247 - 39);
  EXPECT_FLOAT_EQ(hidden.explanationHeader.y, 176 + 208 + 5);
  EXPECT_FALSE(hidden.explanationBody.has_value());
  // The cards stay above the footer.
  EXPECT_LE(shown.explanation.y + shown.explanation.height, 486 - 45);
  EXPECT_LE(hidden.explanation.y + hidden.explanation.height, 486 - 45);
}

TEST(PanelLayout, QuestionPageAndSections) {
  RectF box = QuestionBoxRect(388, 486);
  EXPECT_FLOAT_EQ(box.height, 486 - 45 - 193 - 103);
  RectF send = SendButtonRect(388, 486);
  EXPECT_FLOAT_EQ(send.x, 284);
  EXPECT_FLOAT_EQ(send.y, 176 + 248 - 35);
  EXPECT_FLOAT_EQ(ScanButtonRect(388).width, 168);
  EXPECT_FLOAT_EQ(AskButtonRect(388).x, 22 + 168 + 8);
  // General open (the start state, three rows): Style follows after 139 + 6.
  EXPECT_FLOAT_EQ(SectionHeaderRect(388, 1, 1).y, 104 + 28 + 6);
  EXPECT_FLOAT_EQ(SectionHeaderRect(388, 2, 1).y, 104 + 28 + 6 + 139 + 6);
  EXPECT_FLOAT_EQ(SectionHeaderRect(388, 4, -1).y, 104 + 4 * 34);
}

}  // namespace
