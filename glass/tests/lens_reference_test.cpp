#include "glass/lens_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

// A crop of deterministic noise: every blur of it differs from every other, so the lens shows
// wherever its fades let it.
BgraImage Noise(int width, int height) {
  BgraImage image = MakeBgraImage(width, height);
  std::uint32_t state = 12345;
  for (std::uint8_t& byte : image.bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.At(x, y)[3] = 255;
  }
  return image;
}

// A 388 x 486 panel at (278, 163) in a 944 x 812 crop of a 1920 x 1080 monitor.
LensConstants PanelLens(float radiusPx, float scale, float sigma = kLensBlurSigmaPx) {
  PixelRect monitor{0, 0, 1920, 1080};
  PixelRect panel = PixelRectAt(700, 300, 388, 486);
  LensConstants lens = MakeLensConstants(monitor, panel, LensCropFor(monitor, panel, scale), radiusPx, scale);
  lens.blurSigmaPx = sigma;
  return lens;
}

// Distance of pixel (x, y)'s centre inward from the edge of a w x h rectangle with corners rounded
// by r: to the nearest side, or in a corner square to the corner's arc.
float InwardDistance(int x, int y, float w, float h, float r) {
  float px = x + 0.5f, py = y + 0.5f;
  float cx = std::fmin(std::fmax(px, r), w - r), cy = std::fmin(std::fmax(py, r), h - r);
  if (cx != px && cy != py) return r - std::hypot(px - cx, py - cy);
  return std::fmin(std::fmin(px, w - px), std::fmin(py, h - py));
}

TEST(LensReference, OnlyTheBandAlongTheEdgeIsDrawn) {
  const LensConstants lens = PanelLens(30.0f, 1.0f);
  const BgraImage lensImage = RenderLensReference(lens, Noise(944, 812));
  ASSERT_EQ(lensImage.width, 388);
  ASSERT_EQ(lensImage.height, 486);
  int inner = 0, drawnInBand = 0;
  for (int y = 0; y < lensImage.height; ++y) {
    for (int x = 0; x < lensImage.width; ++x) {
      float d = InwardDistance(x, y, 388, 486, 30);
      const std::uint8_t* pixel = lensImage.At(x, y);
      if (d >= 17.01f) {
        ++inner;
        ASSERT_EQ(pixel[0] | pixel[1] | pixel[2] | pixel[3], 0) << "pixel " << x << "," << y << " at " << d;
      } else if (d < 15.0f && pixel[3] > 0) {
        ++drawnInBand;
      }
    }
  }
  EXPECT_GT(inner, 300 * 400);
  EXPECT_GT(drawnInBand, 10000);  // the rim itself is there
}

TEST(LensReference, BlurStepAndItsCollapse) {
  EXPECT_NEAR(LensBlurStep(5.0f), std::sqrt(21.0f), 1e-5f);
  const float collapsed[] = {2.0f, 1.5f, 1.0f, 0.0f};
  for (float sigma : collapsed) EXPECT_EQ(LensBlurStep(sigma), 0.0f) << sigma;

  // With the taps on one point the blur is a single bilinear read; with sigma 5 it is not.
  const BgraImage level2 = BuildMipChain(Noise(944, 812), 3)[2];
  const LensConstants sharp = PanelLens(30.0f, 1.0f, 2.0f), blurred = PanelLens(30.0f, 1.0f);
  int differing = 0;
  for (float x = 3.25f; x < 380; x += 37.5f) {
    const float y = 0.4f * x + 10;
    LensColor one = SampleBilinear(level2, (x + sharp.panelInCrop[0]) / sharp.cropPx[0],
                                   (y + sharp.panelInCrop[1]) / sharp.cropPx[1]);
    LensColor point = LensBlur(sharp, level2, x, y);
    EXPECT_NEAR(point.r, one.r, 1e-5f);
    EXPECT_NEAR(point.g, one.g, 1e-5f);
    EXPECT_NEAR(point.b, one.b, 1e-5f);
    LensColor wide = LensBlur(blurred, level2, x, y);
    if (std::fabs(wide.g - one.g) > 0.01f) ++differing;
  }
  EXPECT_GE(differing, 8);
}

TEST(LensReference, OutputIsPremultiplied) {
  const BgraImage level2 = BuildMipChain(Noise(944, 812), 3)[2];
  const float scales[] = {1.0f, 1.5f};
  for (float scale : scales) {
    const LensConstants lens = PanelLens(30.0f * scale, scale);
    int partial = 0;
    for (int y = 0; y < 486; y += 3) {
      for (int x = 0; x < 388; x += 3) {
        LensColor c = LensPixel(lens, level2, x, y);
        ASSERT_GE(c.a, 0.0f);
        ASSERT_LE(c.a, 1.0f);
        EXPECT_LE(std::fmax(c.r, std::fmax(c.g, c.b)), c.a + 1e-6f) << x << "," << y;
        if (c.a > 0.05f && c.a < 0.95f) ++partial;
      }
    }
    EXPECT_GT(partial, 50) << "scale " << scale;  // the fades are really there
  }
}

TEST(LensReference, MipLevelsAreRoundedBoxMeans) {
  BgraImage level0 = MakeBgraImage(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      std::uint8_t* p = level0.At(x, y);
      p[0] = static_cast<std::uint8_t>(10 * x + 100 * (y / 2) + (y & 1));  // blue
      p[1] = static_cast<std::uint8_t>(x == 1 && y == 0 ? 255 : 0);      // green
      p[2] = 7;
      p[3] = 255;
    }
  }
  std::vector<BgraImage> chain = BuildMipChain(level0, 3);
  ASSERT_EQ(chain.size(), 3u);
  ASSERT_EQ(chain[1].width, 2);
  ASSERT_EQ(chain[2].width, 1);
  EXPECT_EQ(chain[1].At(0, 0)[0], 6);    // (0 + 10 + 1 + 11) / 4 = 5.5, rounded up
  EXPECT_EQ(chain[1].At(1, 1)[0], 126);  // (120 + 130 + 121 + 131) / 4 = 125.5
  EXPECT_EQ(chain[1].At(0, 0)[1], 64);   // 255 / 4 = 63.75
  EXPECT_EQ(chain[1].At(1, 0)[2], 7);
  EXPECT_EQ(chain[2].At(0, 0)[1], 16);   // 64 / 4

  // Odd sizes shrink to half, rounded down, and a flat image stays flat down to 1 x 1.
  BgraImage flat = MakeBgraImage(5, 3);
  for (std::uint8_t& byte : flat.bytes) byte = 77;
  chain = BuildMipChain(flat, 3);
  EXPECT_EQ(chain[1].width, 2);
  EXPECT_EQ(chain[1].height, 1);
  EXPECT_EQ(chain[2].width, 1);
  EXPECT_EQ(chain[2].height, 1);
  for (const BgraImage& level : chain) {
    for (std::uint8_t byte : level.bytes) EXPECT_EQ(byte, 77);
  }
}

TEST(LensReference, BilinearReadsClampAtTheEdges) {
  BgraImage level = MakeBgraImage(2, 1);
  level.At(0, 0)[2] = 0;
  level.At(1, 0)[2] = 255;
  EXPECT_FLOAT_EQ(SampleBilinear(level, -3.0f, 0.5f).r, 0.0f);
  EXPECT_FLOAT_EQ(SampleBilinear(level, 0.25f, 0.5f).r, 0.0f);  // the first texel's centre
  EXPECT_FLOAT_EQ(SampleBilinear(level, 0.5f, 0.5f).r, 0.5f);
  EXPECT_FLOAT_EQ(SampleBilinear(level, 0.75f, 0.5f).r, 1.0f);
  EXPECT_FLOAT_EQ(SampleBilinear(level, 9.0f, 7.0f).r, 1.0f);
  EXPECT_EQ(RenderLensReference(PanelLens(30, 1), BgraImage{}).bytes.size(), 388u * 486 * 4);  // no crop: nothing drawn
}

}  // namespace
