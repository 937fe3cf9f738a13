// The GDI+ canvas and measurer on a 32-bit top-down DIB section wrapped as a premultiplied GDI+
// bitmap, the way the panel paints. Pixels are sampled well inside and outside shapes, never on
// anti-aliased edges.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "draw/tests/screenshot_win.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr Argb kWhite = 0xFFFFFFFF;

// Channel-wise closeness, for colours that pass through blending.
::testing::AssertionResult Near(Argb actual, Argb expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) {
      char text[64];
      std::snprintf(text, sizeof text, "%08X is not within %d of %08X", unsigned(actual), tolerance,
                    unsigned(expected));
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

class GdiplusCanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gdiplus_ = std::make_unique<ScopedGdiplus>(); }
  static void TearDownTestSuite() { gdiplus_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(gdiplus_->started());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(dib_);
    pixels_ = static_cast<uint32_t*>(bits);
    std::fill(pixels_, pixels_ + kWidth * kHeight, kWhite);
    bitmap_ = std::make_unique<Gdiplus::Bitmap>(kWidth, kHeight, kWidth * 4, PixelFormat32bppPARGB,
                                                static_cast<BYTE*>(bits));
    graphics_ = std::make_unique<Gdiplus::Graphics>(bitmap_.get());
    fonts_ = std::make_unique<GdiplusFonts>();
    canvas_ = std::make_unique<GdiplusCanvas>(*graphics_, *fonts_);
    measurer_ = std::make_unique<GdiplusMeasurer>(*graphics_, *fonts_);
  }

  void TearDown() override {
    measurer_.reset();
    canvas_.reset();
    fonts_.reset();
    graphics_.reset();
    bitmap_.reset();
    dib_.reset();
  }

  // The pixel at (x, y) as ARGB (opaque colours are the same premultiplied or not).
  Argb Pixel(int x, int y) {
    graphics_->Flush(Gdiplus::FlushIntentionSync);
    GdiFlush();
    return pixels_[y * kWidth + x];
  }

  // How many pixels in the rectangle differ from white.
  int Inked(int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) count += Pixel(x, y) != kWhite ? 1 : 0;
    }
    return count;
  }

  // Writes the surface to $VYK_BUILD_DIR/screenshots/<name>.png for a person to look at.
  void SaveScreenshot(const char* name) {
    graphics_->Flush(Gdiplus::FlushIntentionSync);
    ASSERT_TRUE(::SaveScreenshot(*bitmap_, name));
  }

  static inline std::unique_ptr<ScopedGdiplus> gdiplus_;
  UniqueBitmap dib_;
  uint32_t* pixels_ = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
  std::unique_ptr<Gdiplus::Graphics> graphics_;
  std::unique_ptr<GdiplusFonts> fonts_;
  std::unique_ptr<GdiplusCanvas> canvas_;
  std::unique_ptr<GdiplusMeasurer> measurer_;
};

TEST_F(GdiplusCanvasTest, FillsShapesGradientsAndTextWhereTheyBelong) {
  Canvas& canvas = *canvas_;
  canvas.FillRoundedRect({10, 10, 100, 60}, 16, 0xFF2060C0);
  canvas.FillCircle({160, 40}, 24, 0xFFE16C5D);
  canvas.StrokeCircle({160, 40}, 30, {0xFF000000, 2});
  canvas.FillRect({10, 90, 200, 24}, LinearGradient{{10, 0}, {210, 0}, 0xFF0000FF, 0xFFFF0000});
  canvas.FillPath(Path().MoveTo({230, 10}).LineTo({300, 10}).LineTo({230, 80}).Close(), 0xFF6ABE5D);
  canvas.DrawGlyphs(L"Tavisk", {L"Segoe UI", 24, kFontRegular}, 0xFF121216, {10, 130});
  canvas.DrawTextBox(L"A status line far too long for its box", {L"Segoe UI", 14, kFontBold}, 0xFF121216,
                     {200, 130, 90, 30}, {TextAlign::Near, TextAlign::Center, false, true});
  SaveScreenshot("draw_canvas");

  // The rounded rectangle: its middle, and white outside it and in its cut-off corner.
  EXPECT_EQ(Pixel(60, 40), 0xFF2060C0u);
  EXPECT_EQ(Pixel(108, 40), 0xFF2060C0u);
  EXPECT_EQ(Pixel(12, 12), kWhite);
  EXPECT_EQ(Pixel(60, 5), kWhite);
  // The circle, and the white ring between it and its outline.
  EXPECT_EQ(Pixel(160, 40), 0xFFE16C5Du);
  EXPECT_EQ(Pixel(160, 58), 0xFFE16C5Du);
  EXPECT_EQ(Pixel(160, 67), kWhite);
  EXPECT_EQ(Pixel(175, 25), 0xFFE16C5Du);
  EXPECT_EQ(Pixel(160, 40 + 30), 0xFF000000u);
  // The gradient runs from one stop colour to the other.
  EXPECT_TRUE(Near(Pixel(11, 100), 0xFF0000FF, 8));
  EXPECT_TRUE(Near(Pixel(110, 100), 0xFF800080, 12));
  EXPECT_TRUE(Near(Pixel(208, 100), 0xFFFF0000, 8));
  // The path is a triangle: filled below its diagonal, white beyond it.
  EXPECT_EQ(Pixel(240, 20), 0xFF6ABE5Du);
  EXPECT_EQ(Pixel(290, 70), kWhite);
  // The text left ink in its line and none below it.
  EXPECT_GT(Inked(10, 130, 110, 160), 50);
  EXPECT_EQ(Inked(10, 165, 110, 200), 0);
  // The text box keeps its one trimmed line inside the box.
  EXPECT_GT(Inked(200, 130, 290, 160), 50);
  EXPECT_EQ(Inked(290, 120, kWidth, 170) + Inked(200, 160, 290, 200), 0);
  EXPECT_EQ(canvas_->LastStatus(), Gdiplus::Ok);
}

TEST_F(GdiplusCanvasTest, ClipsStopDrawingUntilPoppedAndNest) {
  canvas_->PushClip({0, 0, 100, 200});
  canvas_->PushRoundedClip({20, 20, 200, 100}, 30);  // meets the first clip along x = 100
  canvas_->FillRect({0, 0, kWidth, kHeight}, 0xFF202024);
  canvas_->Pop();
  EXPECT_EQ(Pixel(60, 70), 0xFF202024u);
  EXPECT_EQ(Pixel(150, 70), kWhite);  // outside the outer clip
  EXPECT_EQ(Pixel(24, 24), kWhite);   // in the inner clip's rounded corner
  EXPECT_EQ(Pixel(60, 150), kWhite);  // below the inner clip

  // Only the outer clip is left.
  canvas_->FillRect({0, 140, kWidth, 20}, 0xFF6ABE5D);
  EXPECT_EQ(Pixel(60, 150), 0xFF6ABE5Du);
  EXPECT_EQ(Pixel(150, 150), kWhite);
  canvas_->Pop();
  canvas_->Pop();  // nothing left to pop: ignored

  canvas_->FillRect({0, 170, kWidth, 20}, 0xFFE8B347);
  EXPECT_EQ(Pixel(150, 180), 0xFFE8B347u);
  EXPECT_EQ(canvas_->LastStatus(), Gdiplus::Ok);
}

TEST_F(GdiplusCanvasTest, WorldScaleTwoDoublesGeometryUntilPopped) {
  canvas_->PushScale(2, 2);
  canvas_->FillRect({10, 10, 20, 10}, 0xFF2060C0);  // covers 20..60 x 20..40 on the surface
  canvas_->PushClip({0, 0, 25, 100});              // in scaled units: surface x below 50
  canvas_->FillRect({0, 30, 50, 5}, 0xFFE16C5D);   // covers 0..50 x 60..70 on the surface
  canvas_->Pop();
  canvas_->Pop();
  canvas_->FillRect({10, 100, 20, 10}, 0xFF6ABE5D);

  EXPECT_EQ(Pixel(22, 22), 0xFF2060C0u);
  EXPECT_EQ(Pixel(57, 37), 0xFF2060C0u);
  EXPECT_EQ(Pixel(63, 30), kWhite);
  EXPECT_EQ(Pixel(30, 43), kWhite);
  EXPECT_EQ(Pixel(45, 65), 0xFFE16C5Du);
  EXPECT_EQ(Pixel(55, 65), kWhite);
  EXPECT_EQ(Pixel(28, 105), 0xFF6ABE5Du);
  EXPECT_EQ(Pixel(35, 105), kWhite);
}

TEST_F(GdiplusCanvasTest, MeasuresGrowingWidthsAndFallsBackForUnknownFamilies) {
  const FontSpec segoe{L"Segoe UI", 20, kFontRegular};
  EXPECT_TRUE(fonts_->HasFamily(L"Segoe UI")) << "the test prefix maps Segoe UI to Liberation Sans";
  const SizeF a = measurer_->Measure(L"a", segoe);
  const SizeF ab = measurer_->Measure(L"ab", segoe);
  const SizeF abSpace = measurer_->Measure(L"ab ", segoe);
  EXPECT_GT(a.width, 0);
  EXPECT_GT(ab.width, a.width);
  EXPECT_GT(abSpace.width, ab.width) << "a trailing space counts";
  // Wine counts trailing spaces whatever the flags say; Windows only with MeasureTrailingSpaces. The
  // formats are the generic typographic one (whose own flags they keep) plus NoWrap.
  const INT typographic = Gdiplus::StringFormat::GenericTypographic()->GetFormatFlags();
  EXPECT_EQ(fonts_->MeasureFormat()->GetFormatFlags(),
            typographic | Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  EXPECT_EQ(fonts_->GlyphFormat()->GetFormatFlags(), typographic | Gdiplus::StringFormatFlagsNoWrap);
  EXPECT_GT(a.height, 15);
  EXPECT_EQ(measurer_->Measure(L"", segoe), (SizeF{0, 0}));

  const FontSpec unknown{L"No Such Family Tavisk", 20, kFontBold};
  EXPECT_FALSE(fonts_->HasFamily(unknown.family));
  const SizeF fallback = measurer_->Measure(L"ab", unknown);
  EXPECT_GT(fallback.width, 0);
  EXPECT_GT(fallback.height, 0);
  canvas_->DrawGlyphs(L"ab", unknown, 0xFF000000, {10, 10});
  EXPECT_GT(Inked(10, 10, 60, 40), 20);

  // Wrapping: two words take two lines in a box that holds only the first.
  const SizeF oneLine = measurer_->MeasureWrapped(L"alpha beta", segoe, 1000);
  const SizeF firstWord = measurer_->MeasureWrapped(L"alpha", segoe, 1000);
  const SizeF twoLines = measurer_->MeasureWrapped(L"alpha beta", segoe, firstWord.width + 1);
  EXPECT_LT(firstWord.width, oneLine.width);
  EXPECT_NEAR(twoLines.height, 2 * oneLine.height, 2);
  // A font that cannot be made measures nothing and says why.
  EXPECT_EQ(measurer_->Measure(L"ab", {L"Segoe UI", 0}), (SizeF{0, 0}));
  EXPECT_NE(measurer_->LastStatus(), Gdiplus::Ok);
  EXPECT_EQ(canvas_->LastStatus(), Gdiplus::Ok);
}

}  // namespace
