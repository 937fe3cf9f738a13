#include "glass/glass_grade.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Direct2D's colour matrix applied to a straight (r, g, b, a) colour: row i holds the multipliers
// of input channel i for the four outputs; the fifth row is added.
std::array<float, 4> Apply(const ColorMatrix& m, std::array<float, 4> in) {
  std::array<float, 4> out{};
  for (int c = 0; c < 4; ++c) {
    out[c] = m[16 + c];
    for (int r = 0; r < 4; ++r) out[c] += in[r] * m[r * 4 + c];
  }
  return out;
}

TEST(GlassGrade, KeepsGreysGreyAndAlphaWhole) {
  struct Case {
    bool dark;
    float blur;
    std::array<float, 4> white;  // what an opaque white becomes
  };
  const Case cases[] = {
      {false, 6.5f, {0.9f, 0.9f, 0.9f, 1}},
      {true, 6.0f, {0.641f, 0.642f, 0.646f, 1}},
  };
  for (const Case& c : cases) {
    GlassGrade grade = BackdropGrade(c.dark);
    EXPECT_FLOAT_EQ(grade.blurDeviation, c.blur);
    auto white = Apply(grade.matrix, {1, 1, 1, 1});
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(white[i], c.white[i], 0.0005f) << c.dark << " channel " << i;
    auto clear = Apply(grade.matrix, {0.2f, 0.5f, 0.7f, 0.25f});
    EXPECT_FLOAT_EQ(clear[3], 0.25f) << c.dark;
  }
  // Red is pushed further from the other channels in the light style (more saturation).
  auto red = Apply(BackdropGrade(false).matrix, {1, 0, 0, 1});
  EXPECT_NEAR(red[0], 1.148031f, 1e-6);
  EXPECT_NEAR(red[1], -0.066969f, 1e-6);
}

TEST(GlassGrade, InkShadowsAreBlackWithTheirAlphaGain) {
  for (const InkShadow& shadow : kInkShadows) {
    auto out = Apply(InkMatrix(shadow.alphaGain), {0.8f, 0.6f, 0.4f, 0.5f});
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_EQ(out[2], 0.0f);
    EXPECT_FLOAT_EQ(out[3], 0.5f * shadow.alphaGain);
  }
}

}  // namespace
