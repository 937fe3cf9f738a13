// A block with math drawn by GDI+ into a bitmap, as the answer card draws it, with the fonts the
// test prefix provides; the picture is kept in <build>/screenshots/ for people to look at.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include "core/unique_handle_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "draw/tests/screenshot_win.h"
#include "math/rich_draw.h"
#include "math/rich_layout.h"

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 240;
constexpr RectF kBlock{10, 10, 340, 200};
constexpr float kSize = 19.5f;

const wchar_t kAnswer[] =
    L"The answer is $\\frac{1}{2}$, since\n"
    L"$$x = \\frac{-b \\pm \\sqrt{b^2-4ac}}{2a}$$\n"
    L"and $\\left\\langle u, v \\right\\rangle = \\sum_{i=1}^{n} u_i v_i$ with "
    L"$\\begin{pmatrix} 1 & 0 \\\\ 0 & 1 \\end{pmatrix}$. More text follows to overflow the block and "
    L"show the scroll thumb at its right edge, line after line after line after line.";

// Pixels in the rectangle darker than light grey.
int InkIn(Gdiplus::Bitmap& bitmap, int left, int top, int right, int bottom) {
  int ink = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      Gdiplus::Color colour;
      bitmap.GetPixel(x, y, &colour);
      if (colour.GetR() + colour.GetG() + colour.GetB() < 3 * 160) ++ink;
    }
  }
  return ink;
}

TEST(RichTextGdiplus, DrawsMathClippedWithAThumb) {
  ScopedGdiplus gdiplus;
  ASSERT_TRUE(gdiplus.started());
  Gdiplus::Bitmap bitmap(kWidth, kHeight, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(&bitmap);
  graphics.Clear(Gdiplus::Color(0xFFFFFFFF));
  GdiplusFonts fonts;
  GdiplusCanvas canvas(graphics, fonts);
  GdiplusMeasurer measurer(graphics, fonts);
  MathGraphics target{canvas, measurer};
  float scroll = 0;
  float maxScroll = 0;
  DrawRichText(target, kAnswer, kBlock, kSize, 0xFF101014, false, scroll, maxScroll);
  EXPECT_EQ(canvas.LastStatus(), Gdiplus::Ok);
  EXPECT_EQ(measurer.LastStatus(), Gdiplus::Ok);

  graphics.Flush(Gdiplus::FlushIntentionSync);
  EXPECT_TRUE(SaveScreenshot(bitmap, "math_rich_text"));

  // The text overflows: it scrolls, and a thumb is drawn at the block's right edge.
  EXPECT_GT(maxScroll, 0);
  EXPECT_GT(InkIn(bitmap, 347, 10, 350, 30), 20) << "no thumb";
  // The display line is drawn in the middle of the block, below the first line.
  const RichTextLayout layout = LayOutRichText(measurer, kAnswer, kBlock.width, kBlock.height, kSize, false);
  ASSERT_GE(layout.lines.size(), 3u);
  const RichLine& first = layout.lines[0];
  const RichLine& display = layout.lines[1];
  ASSERT_TRUE(display.centered);
  const int displayTop = int(kBlock.y + first.ascent + first.descent + layout.lineGap);
  const int displayBottom = displayTop + int(display.ascent + display.descent);
  const int left = int(kBlock.x + (kBlock.width - display.width) / 2);
  EXPECT_GT(InkIn(bitmap, left, displayTop, left + int(display.width), displayBottom), 200);
  EXPECT_EQ(InkIn(bitmap, int(kBlock.x), displayTop, left - 2, displayBottom), 0) << "not centred";
  // Nothing outside the block.
  EXPECT_EQ(InkIn(bitmap, 0, int(kBlock.Bottom()) + 1, kWidth, kHeight), 0);
  EXPECT_EQ(InkIn(bitmap, 0, 0, kWidth, int(kBlock.y) - 1), 0);
}

}  // namespace
