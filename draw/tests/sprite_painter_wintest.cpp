// Drawing recorded calls from sprites gives the pixels of drawing them with GDI+ directly: every
// kind of call, overlapping and translucent, under clips and a scale, at fractional places; and
// the same again when every sprite is taken from the cache, or only an update rectangle is drawn.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/unique_handle_win.h"
#include "draw/frame_reuse.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "draw/sprite_painter_win.h"
#include "draw/tests/screenshot_win.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 220;
constexpr float kScale = 1.25f;

std::vector<DrawCall> Frame() {
  RecordingCanvas canvas;
  canvas.FillRect({0, 0, 240, 176}, Brush(0xFF1E1E22));
  canvas.FillRoundedRect({10.3f, 12.6f, 200, 60}, 12, Brush(LinearGradient{{0, 12}, {0, 72}, 0x60FFFFFF, 0x20FFFFFF}));
  canvas.StrokeRoundedRect({10.3f, 12.6f, 200, 60}, 12, Stroke{0x48FFFFFF, 1.2f});
  canvas.DrawGlyphs(L"Study assistant", FontSpec{L"Segoe UI", 21, kFontBold}, 0xF0FFFFFF, {18.4f, 20.2f});
  canvas.DrawTextBox(L"A box of words that wraps onto a second line", FontSpec{L"Segoe UI", 11.5f}, 0xC0FFFFFF,
                     {16, 80, 120, 40}, TextBoxFormat{TextAlign::Center, TextAlign::Center, true, true});
  canvas.PushClip({140.5f, 84.25f, 70, 30});
  canvas.DrawGlyphs(L"clipped words run on", FontSpec{L"Segoe UI", 13.5f}, 0xFFE0E0E0, {130.7f, 90.1f});
  canvas.Pop();
  canvas.PushRoundedClip({20, 126, 60, 40}, 14);
  canvas.FillEllipse({10, 116, 60, 60}, Brush(0xFFE16C5D));
  canvas.Pop();
  canvas.DrawLine({90, 130}, {230, 170}, Stroke{0xFF6ABE5D, 2.5f, LineCap::Round});
  const PointF curve[] = {{100, 160}, {130, 120}, {160, 168}, {200, 125}};
  canvas.DrawCurve(curve, 0.8f, Stroke{0xB0E8B347, 1.5f});
  canvas.StrokePath(Path().MoveTo({215, 20}).BezierTo({235, 30}, {200, 60}, {232, 90}), Stroke{0xFFFFFFFF, 1});
  canvas.DrawGlyphs(L"\u2211", FontSpec{L"Cambria Math", 30, kFontRegular}, 0xFFFFFFFF, {160.3f, 112.6f});
  return canvas.Calls();
}

// The calls drawn by GDI+ straight onto a transparent buffer.
std::vector<uint32_t> DrawnDirectly(const std::vector<DrawCall>& calls, GdiplusFonts& fonts) {
  std::vector<uint32_t> pixels(size_t(kWidth) * kHeight, 0);
  Gdiplus::Bitmap bitmap(kWidth, kHeight, kWidth * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels.data()));
  Gdiplus::Graphics graphics(&bitmap);
  {
    GdiplusCanvas canvas(graphics, fonts);
    canvas.PushScale(kScale, kScale);
    ReplayDrawCalls(calls, canvas);
  }
  graphics.Flush(Gdiplus::FlushIntentionSync);
  return pixels;
}

int LargestDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    for (int shift = 0; shift < 32; shift += 8) {
      largest = std::max(largest, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
    }
  }
  return largest;
}

TEST(SpritePainter, DrawsWhatGdiplusDrawsFromNewAndKeptSprites) {
  ScopedGdiplus gdiplus;
  ASSERT_TRUE(gdiplus.started());
  GdiplusFonts fonts;
  const std::vector<DrawCall> calls = Frame();
  const std::vector<uint32_t> direct = DrawnDirectly(calls, fonts);

  std::vector<uint32_t> unused(1);
  Gdiplus::Bitmap measuring(1, 1, 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(unused.data()));
  Gdiplus::Graphics measuringGraphics(&measuring);
  UseSmoothDrawing(measuringGraphics);
  GdiplusMeasurer measurer(measuringGraphics, fonts);
  SpritePainter painter;
  const PixelRect whole{0, 0, kWidth, kHeight};
  std::vector<uint32_t> fresh(direct.size(), 0), kept(direct.size(), 0);
  ASSERT_TRUE(painter.Draw(calls, fonts, measurer, fresh.data(), kWidth, kHeight, whole, kScale));
  const size_t sprites = painter.cache().size();
  ASSERT_TRUE(painter.Draw(calls, fonts, measurer, kept.data(), kWidth, kHeight, whole, kScale));
  EXPECT_EQ(painter.cache().size(), sprites);  // the second time, every sprite was kept
  EXPECT_EQ(kept, fresh);
  // Blending a sprite rounds once more than drawing straight onto the buffer.
  EXPECT_LE(LargestDifference(fresh, direct), 2);

  // Only an update rectangle: inside, the same pixels; outside, untouched.
  const PixelRect update{70, 40, 190, 150};
  std::vector<uint32_t> part(direct.size(), 0x01020304);
  ASSERT_TRUE(painter.Draw(calls, fonts, measurer, part.data(), kWidth, kHeight, update, kScale));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool inside = x >= update.left && x < update.right && y >= update.top && y < update.bottom;
      const size_t i = size_t(y) * kWidth + x;
      ASSERT_EQ(part[i], inside ? kept[i] : 0x01020304u) << x << "," << y;
    }
  }

  Gdiplus::Bitmap picture(kWidth, kHeight, kWidth * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(fresh.data()));
  EXPECT_TRUE(SaveScreenshot(picture, "sprite_painter"));
}

}  // namespace
