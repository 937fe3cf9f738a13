#include "glass/glass_tick.h"

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

TEST(GlassTick, FailureTextHasEightUpperCaseDigits) {
  const std::pair<uint32_t, const wchar_t*> cases[] = {
      {0x8000000Cu, L"Ridez: capture failed (0x8000000C)"},
      {0x887A0026u, L"Ridez: capture failed (0x887A0026)"},
      {0x5u, L"Ridez: capture failed (0x00000005)"},
      {0u, L"Ridez: capture failed (0x00000000)"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(CaptureFailureText(code), text) << code;
}

TEST(GlassTick, BackOffTimeline) {
  GlassTick tick;
  const std::wstring_view capture = L"Glass: waiting for desktop frames";
  EXPECT_FALSE(tick.Skipping(0));
  EXPECT_EQ(tick.StatusText(capture), capture);

  tick.Failed(1000, 0x80004005u);
  struct Step {
    uint64_t now;
    bool skipped;
  };
  for (Step step : {Step{1000, true}, Step{5999, true}, Step{6000, false}, Step{90000, false}}) {
    EXPECT_EQ(tick.Skipping(step.now), step.skipped) << step.now;
  }
  EXPECT_EQ(tick.StatusText(capture), L"Ridez: capture failed (0x80004005)");

  // A frame that goes through after the back-off drops the text.
  tick.Succeeded();
  EXPECT_EQ(tick.StatusText(capture), capture);

  // Activation ends a back-off at once.
  tick.Failed(20000, 0x887A0001u);
  EXPECT_TRUE(tick.Skipping(20001));
  tick.Clear();
  EXPECT_FALSE(tick.Skipping(20001));
  EXPECT_EQ(tick.StatusText(capture), capture);
}

TEST(GlassTick, LensVisibilityChangesOnlyOnEdges) {
  GlassTick tick;
  const std::pair<bool, bool> steps[] = {{false, false}, {true, true}, {true, false}, {false, true}, {false, false}};
  for (const auto& [shown, change] : steps) {
    EXPECT_EQ(tick.LensChange(shown), change);
    EXPECT_EQ(tick.lensShown(), shown);
  }
}

}  // namespace
