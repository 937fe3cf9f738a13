#include "panel/stealth/stealth_strip.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

TEST(StealthStrip, SitsOnTheChosenEdgeOfTheWorkAreaWithItsScaledWidth) {
  struct Case {
    int setting;
    float dpi;
    int width;
  };
  const PixelRect work{-1920, 40, 0, 1040};  // a left-hand monitor below a top task bar
  for (const Case& c : {Case{2, 1.0f, 2}, Case{4, 1.0f, 4}, Case{6, 1.0f, 6}, Case{2, 1.5f, 3}, Case{4, 1.5f, 6},
                        Case{6, 1.5f, 9}, Case{2, 1.25f, 3}, Case{2, 0.5f, 2}, Case{4, 0.5f, 2}}) {
    for (bool right : {false, true}) {
      std::optional<PixelRect> strip = PlaceStrip(work, c.setting, c.dpi, right);
      ASSERT_TRUE(strip);
      const PixelRect expected = right ? PixelRect{-c.width, 40, 0, 1040} : PixelRect{-1920, 40, -1920 + c.width, 1040};
      EXPECT_EQ(*strip, expected) << c.setting << " at " << c.dpi << (right ? " right" : " left");
    }
  }
  EXPECT_FALSE(PlaceStrip({0, 100, 1920, 100}, 6, 1.0f, true));
}

TEST(StealthStrip, SamplesTheSectionOrTheMiddleBandFromTheScreenEdgeInwards) {
  const PixelRect right{1914, 0, 1920, 1000};
  EXPECT_EQ(EdgeSampleArea(right, true, 1.0f, 0), (PixelRect{1896, 0, 1920, 250}));
  EXPECT_EQ(EdgeSampleArea(right, true, 1.0f, 3), (PixelRect{1896, 750, 1920, 1000}));
  EXPECT_EQ(EdgeSampleArea(right, true, 1.0f, kMiddleBand), (PixelRect{1896, 476, 1920, 524}));
  EXPECT_EQ(EdgeSampleArea(right, true, 0.25f, 7), (PixelRect{1908, 488, 1920, 512}));  // 12 x 24 at least
  const PixelRect left{0, 0, 9, 1000};
  EXPECT_EQ(EdgeSampleArea(left, false, 1.5f, 1), (PixelRect{0, 250, 36, 500}));
  EXPECT_EQ(EdgeSampleArea({0, 0, 6, 3}, false, 1.0f, 2), (PixelRect{0, 0, 24, 1}));  // never empty
  EXPECT_EQ(EdgeSampleArea({0, 0, 6, 10}, false, 1.0f, kMiddleBand), (PixelRect{0, 0, 24, 10}));
}

std::vector<uint8_t> Sample(std::array<uint8_t, 3> bgr, std::array<uint8_t, 3> otherBgr, int otherEvery) {
  std::vector<uint8_t> pixels(kEdgeSamplePixels * 4);
  for (int i = 0; i < kEdgeSamplePixels; ++i) {
    const auto& p = (otherEvery && i % otherEvery == 0) ? otherBgr : bgr;
    pixels[4 * i] = p[0];
    pixels[4 * i + 1] = p[1];
    pixels[4 * i + 2] = p[2];
    pixels[4 * i + 3] = 0x5A;  // the fourth byte means nothing
  }
  return pixels;
}

TEST(StealthStrip, MarksAreDarkerOverLightAndLighterOverDarkAndStrongerOverBusyScreens) {
  struct Case {
    const char* what;
    std::vector<uint8_t> sample;
    float contrast;
    uint32_t colour;
  };
  const std::array<uint8_t, 3> white{255, 255, 255}, black{0, 0, 0}, red{0, 0, 255};
  const std::vector<Case> cases{
      {"white, glow", Sample(white, white, 0), kPulseContrast, 0xC9C9C9},   // k = 54 / 255
      {"white, pill", Sample(white, white, 0), kWorkContrast, 0xD6D6D6},    // k = 41.3 / 255
      {"black, glow", Sample(black, black, 0), kPulseContrast, 0x222222},   // k = 34 / 255
      {"black, pill", Sample(black, black, 0), kWorkContrast, 0x1C1C1C},    // k held at 0.11
      {"red, glow", Sample(red, red, 0), kPulseContrast, 0x2B2BFF},         // dark: lightened
      {"busy, glow", Sample(white, black, 4), kPulseContrast, 0x838383},    // sigma adds 16
  };
  for (const Case& c : cases) EXPECT_EQ(EdgeColour(c.sample.data(), c.contrast), c.colour) << c.what;
}

TEST(StealthStrip, GlowFadesInHoldsAndFadesOutOverSixSeconds) {
  struct Case {
    int64_t ms;
    float intensity;
  };
  for (const Case& c : {Case{-5, 0.0f}, Case{0, 0.0f}, Case{90, 0.75f}, Case{180, 1.0f}, Case{3000, 1.0f},
                        Case{5479, 1.0f}, Case{5740, 0.25f}, Case{5999, 1.0f / (520.0f * 520.0f)}, Case{6000, 0.0f},
                        Case{60000, 0.0f}}) {
    EXPECT_NEAR(GlowIntensity(c.ms), c.intensity, 1e-6) << c.ms << " ms";
  }
}

TEST(StealthStrip, GlowCoversItsSectionInsetAndOnlyForOptionsAToD) {
  for (int option : {-1, 4, 17}) EXPECT_FALSE(SectionGlow(option, 6, 1000, 1.0f, 1000)) << option;
  EXPECT_FALSE(SectionGlow(2, 6, 1000, 1.0f, 6000));
  EXPECT_FALSE(SectionGlow(2, 6, 1000, 1.0f, 0));

  std::optional<StripMark> glow = SectionGlow(1, 6, 1000, 1.0f, 1000);
  ASSERT_TRUE(glow);
  EXPECT_FLOAT_EQ(glow->x, 0.0f);
  EXPECT_FLOAT_EQ(glow->width, 6.0f);
  EXPECT_FLOAT_EQ(glow->y, 264.0f);  // a quarter of 1000, inset by 14 (0.06 x 250 held at 14)
  EXPECT_FLOAT_EQ(glow->height, 222.0f);
  EXPECT_FLOAT_EQ(glow->radius, 2.88f);
  EXPECT_EQ(glow->alpha, 240);
  EXPECT_EQ(SectionGlow(1, 6, 1000, 1.0f, 90)->alpha, 180);
  EXPECT_FLOAT_EQ(SectionGlow(0, 2, 120, 1.0f, 1000)->y, 6.0f);  // inset at least 6

  // Four glows never touch, whatever the height and scale.
  for (int height : {60, 100, 480, 1040, 2160}) {
    for (float dpi : {1.0f, 1.5f, 2.0f}) {
      for (int option = 0; option < 3; ++option) {
        StripMark upper = *SectionGlow(option, 4, height, dpi, 1000);
        StripMark lower = *SectionGlow(option + 1, 4, height, dpi, 1000);
        EXPECT_GE(upper.height, 4.0f);
        EXPECT_LT(upper.y + upper.height, lower.y) << height << " at " << dpi;
      }
    }
  }
}

TEST(StealthStrip, WorkingPillHugsTheScreenEdgeInTheMiddle) {
  struct Case {
    int width;
    float dpi;
    bool right;
    float x, pill, tall;
  };
  for (const Case& c : {Case{6, 1.0f, true, 1.0f, 5.0f, 24.0f}, Case{6, 1.0f, false, 0.0f, 5.0f, 24.0f},
                        Case{2, 1.0f, true, 0.0f, 2.0f, 24.0f}, Case{9, 1.5f, true, 1.0f, 8.0f, 36.0f},
                        Case{2, 0.5f, false, 0.0f, 2.0f, 18.0f}}) {
    StripMark pill = WorkingPill(c.width, 1000, c.dpi, c.right);
    EXPECT_FLOAT_EQ(pill.x, c.x);
    EXPECT_FLOAT_EQ(pill.width, c.pill);
    EXPECT_FLOAT_EQ(pill.height, c.tall);
    EXPECT_FLOAT_EQ(pill.y, (1000 - c.tall) / 2);
    EXPECT_FLOAT_EQ(pill.radius, c.pill / 2);
    EXPECT_EQ(pill.alpha, 0xB9);
  }
}

}  // namespace
