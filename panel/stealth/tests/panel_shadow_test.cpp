#include "panel/stealth/panel_shadow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(PanelShadow, BitmapIsThePanelPlusItsMarginOnEverySide) {
  struct Case {
    int width, height;
    float scale;
    int margin;
  };
  for (const Case& c : {Case{388, 486, 1.0f, 32}, Case{582, 729, 1.5f, 48}, Case{1, 1, 1.0f, 32}}) {
    std::optional<ShadowMask> mask = RenderShadowMask(c.width, c.height, c.scale);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->margin, c.margin);
    EXPECT_EQ(mask->width, c.width + 2 * c.margin);
    EXPECT_EQ(mask->height, c.height + 2 * c.margin);
    EXPECT_EQ(mask->alpha.size(), size_t(mask->width) * mask->height);
  }
  EXPECT_EQ(RenderShadowMask(388, 486, 1.0f)->width, 452);
  EXPECT_EQ(RenderShadowMask(388, 486, 1.0f)->height, 550);
  EXPECT_FALSE(RenderShadowMask(0, 486, 1.0f));
  EXPECT_FALSE(RenderShadowMask(388, -3, 1.0f));
}

// The shadow straight below, above or beside a straight edge of the panel, at `d` pixels from it,
// written out for that case: there the distance to the outline is d, and shifting the outline down
// by `shift` changes it by -shift below, +shift above and not at all beside.
double ExpectedAlpha(double d, double nearShift, double farShift) {
  const double m = 32;
  const double ramp = std::clamp(d - 0.25, 0.0, 1.0);
  const double fade = std::pow(1 - std::clamp((d - 0.78 * m) / (0.22 * m), 0.0, 1.0), 2);
  const double near = 0.18 * 0.5 * std::erfc((d + nearShift + 0.5) / (2.5 * std::sqrt(2.0)));
  const double far = 0.2 * 0.5 * std::erfc((d + farShift + 4) / (9 * std::sqrt(2.0)));
  return 255 * std::clamp((1 - (1 - far) * (1 - near)) * ramp * fade, 0.0, 1.0);
}

TEST(PanelShadow, NothingUnderThePanelAndAGaussianFallOffOutside) {
  const ShadowMask mask = *RenderShadowMask(388, 486, 1.0f);
  auto at = [&](int x, int y) { return int(mask.alpha[size_t(y) * mask.width + x]); };
  // Under the panel, its corners included.
  for (auto [x, y] : {std::pair{226, 275}, {32, 275}, {419, 300}, {226, 32}, {226, 517}, {42, 42}, {410, 508}}) {
    EXPECT_EQ(at(x, y), 0) << x << "," << y;
  }
  // Outside the rounded corner but inside the bounding box of the panel: already shadow.
  EXPECT_GT(at(33, 33), 0);
  // The bitmap's corners and far edges are past the fade.
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_EQ(at(451, 549), 0);
  EXPECT_EQ(at(226, 549), 0);

  for (int k : {0, 1, 2, 5, 10, 20, 26, 30}) {
    const double d = k + 0.5;
    EXPECT_NEAR(at(226, 518 + k), ExpectedAlpha(d, -1.5, -8), 1.0) << "below, " << k;
    EXPECT_NEAR(at(226, 31 - k), ExpectedAlpha(d, 1.5, 8), 1.0) << "above, " << k;
    EXPECT_NEAR(at(31 - k, 275), ExpectedAlpha(d, 0, 0), 1.0) << "beside, " << k;
  }
  // The light falls from above: more shadow below the panel than above it.
  EXPECT_GT(at(226, 524), at(226, 25) + 5);
}

TEST(PanelShadow, RoundedRectDistanceIsSignedAndRoundsTheCorners) {
  EXPECT_FLOAT_EQ(RoundedRectDistance(0, 0, 0, 0, 10, 5, 2), -5.0f);
  EXPECT_FLOAT_EQ(RoundedRectDistance(13, 0, 0, 0, 10, 5, 2), 3.0f);
  EXPECT_FLOAT_EQ(RoundedRectDistance(0, -7, 0, 0, 10, 5, 2), 2.0f);
  // Diagonally off the corner: measured from the corner circle's centre (8, 3) less its radius.
  EXPECT_NEAR(RoundedRectDistance(11, 7, 0, 0, 10, 5, 2), 5.0f - 2.0f, 1e-5);
}

}  // namespace
