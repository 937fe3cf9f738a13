#include "glass/lens_crop.h"

#include <gtest/gtest.h>

namespace {

struct CropCase {
  const char* what;
  PixelRect monitor;
  PixelRect panel;
  float scale;
  PixelRect crop;
};

TEST(LensCrop, ReachesAroundThePanelAndStaysOnItsMonitor) {
  const PixelRect fullHd{0, 0, 1920, 1080};
  const CropCase cases[] = {
      // k = (6.5 / (388 x 4.621076) + 0.124) x 1.07: 278 px sideways, 163 px up and down.
      {"free on a 1920 x 1080 monitor", fullHd, PixelRectAt(700, 300, 388, 486), 1.0f,
       {700 - 278, 300 - 163, 700 + 388 + 278, 300 + 486 + 163}},
      {"clipped at the top-left corner", fullHd, PixelRectAt(10, 20, 388, 486), 1.0f,
       {0, 0, 10 + 388 + 278, 20 + 486 + 163}},
      {"clipped at the bottom-right corner", fullHd, PixelRectAt(1920 - 388, 1080 - 486, 388, 486), 1.0f,
       {1920 - 388 - 278, 1080 - 486 - 163, 1920, 1080}},
      // The same logical panel at scale 2 has the same k; the margins follow the monitor's size.
      {"scale 2 on a 3840 x 2160 monitor right of the first", {1920, 0, 5760, 2160},
       PixelRectAt(2920, 600, 776, 972), 2.0f, {2920 - 540, 600 - 310, 2920 + 776 + 540, 600 + 972 + 310}},
      // A smaller panel reaches further: d = 100, k = (6.5 / 462.1076 + 0.124) x 1.07 = 0.1477.
      {"a panel of 100 logical pixels", fullHd, PixelRectAt(800, 400, 100, 200), 1.0f,
       {800 - 299, 400 - 175, 800 + 100 + 299, 400 + 200 + 175}},
      // Nonsense scale counts as 1; a degenerate panel counts as 1 logical pixel short side.
      {"scale 0", fullHd, PixelRectAt(700, 300, 388, 486), 0.0f, {422, 137, 1366, 949}},
  };
  for (const CropCase& c : cases) {
    SCOPED_TRACE(c.what);
    LensCrop crop = LensCropFor(c.monitor, c.panel, c.scale);
    EXPECT_EQ(crop.crop, c.crop);
    EXPECT_EQ(crop.sourceBox, (PixelRect{c.crop.left - c.monitor.left, c.crop.top - c.monitor.top,
                                         c.crop.right - c.monitor.left, c.crop.bottom - c.monitor.top}));
    EXPECT_EQ(crop.panelInCropX, c.panel.left - c.crop.left);
    EXPECT_EQ(crop.panelInCropY, c.panel.top - c.crop.top);
  }
}

TEST(LensCrop, PanelOffTheMonitorGivesAnEmptyCrop) {
  LensCrop crop = LensCropFor({0, 0, 1920, 1080}, PixelRectAt(5000, 5000, 388, 486), 1.0f);
  EXPECT_EQ(crop.crop.Width(), 0);
  EXPECT_EQ(crop.crop.Height(), 0);
}

}  // namespace
