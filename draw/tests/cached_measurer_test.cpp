#include "draw/cached_measurer.h"

#include <gtest/gtest.h>

#include "draw/fixed_measurer.h"

namespace {

const FontSpec kBody{L"Segoe UI", 20, kFontRegular};

TEST(CachedMeasurer, AsksOnceForEachTextFontAndWidthAcrossPaints) {
  FixedAdvanceMeasurer inner;
  MeasureMemo memo;
  struct Call {
    std::wstring text;
    FontSpec font;
    float width;  // 0: one line
    bool asks;    // reaches the wrapped measurer
  };
  const Call calls[] = {
      {L"abc", kBody, 0, true},
      {L"abc", kBody, 0, false},
      {L"abc", kBody, 100, true},  // wrapped is another question
      {L"abc", kBody, 100, false},
      {L"abc", kBody, 50, true},
      {L"abc", {L"Segoe UI", 21, kFontRegular}, 0, true},
      {L"abc", {L"Segoe UI", 20, kFontBold}, 0, true},
      {L"abc", {L"Cambria Math", 20, kFontRegular}, 0, true},
      {L"abd", kBody, 0, true},
      {L"abc", kBody, 0, false},
  };
  int expectedCalls = 0;
  for (const Call& c : calls) {
    SCOPED_TRACE(testing::Message() << c.font.pixelSize << " " << c.width);
    CachedMeasurer measurer(inner, memo);  // one per paint, the memo kept
    FixedAdvanceMeasurer reference;
    const SizeF got = c.width > 0 ? measurer.MeasureWrapped(c.text, c.font, c.width) : measurer.Measure(c.text, c.font);
    const SizeF wanted =
        c.width > 0 ? reference.MeasureWrapped(c.text, c.font, c.width) : reference.Measure(c.text, c.font);
    EXPECT_EQ(got, wanted);
    expectedCalls += c.asks;
    EXPECT_EQ(inner.Calls(), expectedCalls);
  }
}

TEST(CachedMeasurer, ForgetsOnANewScaleAndPastItsBound) {
  FixedAdvanceMeasurer inner;
  MeasureMemo memo(3);
  memo.UseScale(1);
  CachedMeasurer measurer(inner, memo);
  for (const wchar_t* text : {L"a", L"b", L"c"}) measurer.Measure(text, kBody);
  EXPECT_EQ(memo.size(), 3u);
  measurer.Measure(L"d", kBody);  // past the bound: starts again
  EXPECT_EQ(memo.size(), 1u);
  memo.UseScale(1);
  EXPECT_EQ(memo.size(), 1u);
  memo.UseScale(1.5f);
  EXPECT_EQ(memo.size(), 0u);
  const int before = inner.Calls();
  measurer.Measure(L"d", kBody);
  EXPECT_EQ(inner.Calls(), before + 1);
  // Nothing to remember for a width that is not positive.
  EXPECT_EQ(measurer.MeasureWrapped(L"e", kBody, 0), (SizeF{}));
  EXPECT_EQ(memo.size(), 1u);
}

}  // namespace
