#include <gtest/gtest.h>

#include <map>

#include "screen/capture.h"

namespace {

void ExpectPlan(PixelRect source, int maxSide, int outWidth, int outHeight, bool stretches) {
  const std::optional<CapturePlan> plan = PlanCapture(source, maxSide);
  ASSERT_TRUE(plan.has_value());
  EXPECT_EQ(plan->outWidth, outWidth);
  EXPECT_EQ(plan->outHeight, outHeight);
  EXPECT_EQ(plan->Stretches(), stretches);
  EXPECT_EQ(plan->source.left, source.left);
  EXPECT_EQ(plan->source.top, source.top);
}

TEST(CapturePlan, RefusesSidesOutsideTheCapturableRange) {
  EXPECT_FALSE(PlanCapture(PixelRectAt(0, 0, 0, 100), 0));
  EXPECT_FALSE(PlanCapture(PixelRectAt(0, 0, 100, -1), 0));
  EXPECT_FALSE(PlanCapture(PixelRectAt(0, 0, 32768, 10), 0));
  EXPECT_FALSE(PlanCapture(PixelRectAt(0, 0, 10, 32768), 1440));
  EXPECT_TRUE(PlanCapture(PixelRectAt(0, 0, 32767, 1), 0));
}

TEST(CapturePlan, ScalesTheLongerSideToTheLimitKeepingTheAspect) {
  ExpectPlan(PixelRectAt(0, 0, 1920, 1080), kVisionMaxSide, 1440, 810, true);
  ExpectPlan(PixelRectAt(0, 0, 3840, 1600), kVisionMaxSide, 1440, 600, true);
  ExpectPlan(PixelRectAt(0, 0, 1080, 1920), kVisionMaxSide, 810, 1440, true);
  ExpectPlan(PixelRectAt(-1920, -200, 3840, 2160), kSnipMaxSide, 1280, 720, true);
}

TEST(CapturePlan, CopiesUnscaledWhenBothSidesFitOrThereIsNoLimit) {
  ExpectPlan(PixelRectAt(0, 0, 1000, 1440), kVisionMaxSide, 1000, 1440, false);
  ExpectPlan(PixelRectAt(0, 0, 1440, 1440), kVisionMaxSide, 1440, 1440, false);
  ExpectPlan(PixelRectAt(0, 0, 7680, 4320), 0, 7680, 4320, false);
  ExpectPlan(PixelRectAt(0, 0, 7680, 4320), -5, 7680, 4320, false);
}

TEST(CapturePlan, AThinStripNeverLosesItsShortSide) {
  ExpectPlan(PixelRectAt(10, 20, 5000, 2), kSnipMaxSide, 1280, 1, true);
  ExpectPlan(PixelRectAt(10, 20, 2, 30000), kSnipMaxSide, 1, 1280, true);
}

TEST(CaptureArea, PicksThePrimaryMonitorOrTheVirtualDesktop) {
  const std::map<int, int> metrics = {{0, 1920}, {1, 1080}, {76, -1280}, {77, -300}, {78, 3200}, {79, 1380}};
  const SystemMetricFn metric = [&](int index) { return metrics.at(index); };

  const PixelRect primary = FullScreenArea(false, metric);
  EXPECT_EQ(primary.left, 0);
  EXPECT_EQ(primary.top, 0);
  EXPECT_EQ(primary.Width(), 1920);
  EXPECT_EQ(primary.Height(), 1080);

  const PixelRect desktop = FullScreenArea(true, metric);
  EXPECT_EQ(desktop.left, -1280);
  EXPECT_EQ(desktop.top, -300);
  EXPECT_EQ(desktop.Width(), 3200);
  EXPECT_EQ(desktop.Height(), 1380);
}

TEST(CaptureLuma, WeightsRedGreenBlueAndIgnoresTheFourthByte) {
  EXPECT_EQ(Luma(0, 0, 0), 0);
  EXPECT_EQ(Luma(255, 255, 255), 255);
  EXPECT_EQ(Luma(0, 0, 255), 76);   // red
  EXPECT_EQ(Luma(0, 255, 0), 149);  // green
  EXPECT_EQ(Luma(255, 0, 0), 28);   // blue

  const std::uint8_t bgrx[] = {255, 255, 255, 0, 0, 0, 255, 77, 10, 20, 30, 255};
  std::uint8_t luma[3] = {};
  ReduceToLuma(bgrx, 3, luma);
  EXPECT_EQ(luma[0], 255);
  EXPECT_EQ(luma[1], 76);
  EXPECT_EQ(luma[2], (77 * 30 + 150 * 20 + 29 * 10) >> 8);
}

TEST(ScreenImageShape, UsableAndConsistentAreDifferentQuestions) {
  ScreenImage image;
  EXPECT_FALSE(IsUsable(image));
  EXPECT_FALSE(HasConsistentPixels(image));
  image.width = 3;
  image.height = 2;
  EXPECT_TRUE(IsUsable(image));
  EXPECT_FALSE(HasConsistentPixels(image));  // sized, but no pixels
  image.pixels.resize(3 * 2 * 4);
  EXPECT_TRUE(HasConsistentPixels(image));
  image.pixels.push_back(0);
  EXPECT_FALSE(HasConsistentPixels(image));
  image.pixels.resize(3 * 2 * 4);
  image.height = -2;
  EXPECT_FALSE(HasConsistentPixels(image));
}

}  // namespace
