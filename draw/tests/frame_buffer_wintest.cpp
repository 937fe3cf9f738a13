// Frames drawn through the frame buffer (which decides what is drawn again) and the sprite painter
// show what GDI+ draws when given the same calls directly, within 2 levels a channel everywhere:
// random (seeded) sequences of frames with text in every font the panel uses, tall, italic and
// math glyphs, thick strokes, curves, paths, gradients, clips, scales and text that scrolls, with
// frames that repeat, change part of themselves, are drawn only within an update rectangle, follow
// pixels drawn by someone else, or change scale and size.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "draw/frame_buffer_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "draw/tests/screenshot_win.h"

namespace {

const wchar_t* const kFamilies[] = {L"Segoe UI", L"Segoe UI Semibold", L"Cambria Math"};
const wchar_t* const kTexts[] = {
    L"Study assistant",  L"fjord gypsy Quay",  L"\u222B\u222C\u222E",      L"\u2211\u220F\u221A",
    L"\u00C5\u00C9\u00C7 \u01FA", L"f\u0192\u0283",  L"e\u0301\u0302 a\u0308\u0323", L"\u27E8x\u27E9 \u2016y\u2016",
    L"(n+1)/2",          L"x\u00B2 + y\u2082",  L"W",                        L"..."};

class Frames {
 public:
  explicit Frames(unsigned seed) : random_(seed) {}

  float Real(float low, float high) { return low + (high - low) * float(random_() % 100001) / 100000.0f; }
  int Whole(int low, int high) { return low + int(random_() % unsigned(high - low + 1)); }
  bool Chance(int percent) { return Whole(1, 100) <= percent; }

  Argb Colour() {
    const Argb alpha = Chance(60) ? 0xFF : Argb(Whole(40, 250));
    return alpha << 24 | Argb(Whole(0, 255)) << 16 | Argb(Whole(0, 255)) << 8 | Argb(Whole(0, 255));
  }
  PointF Point() { return {Real(-20, 260), Real(-20, 200)}; }
  RectF Rect() { return {Real(-10, 200), Real(-10, 150), Real(2, 120), Real(2, 90)}; }
  FontSpec Font() {
    return FontSpec{kFamilies[Whole(0, 2)], Real(7.5f, 44), unsigned(Whole(0, 3))};
  }
  Stroke Pen() {
    return Stroke{Colour(), Chance(30) ? Real(4, 14) : Real(0.6f, 3), Chance(50) ? LineCap::Round : LineCap::Flat,
                  Chance(50) ? LineJoin::Round : LineJoin::Miter};
  }
  Brush Fill() {
    if (Chance(75)) return Brush(Colour());
    return Brush(LinearGradient{Point(), Point(), Colour(), Colour()});
  }

  // One random drawing call, or a state pushed around a few of them.
  void Item(RecordingCanvas& canvas, int depth = 0) {
    switch (Whole(0, depth < 2 ? 11 : 8)) {
      case 0: canvas.DrawGlyphs(kTexts[Whole(0, 11)], Font(), Colour(), Point()); break;
      case 1: {
        const TextBoxFormat format{TextAlign(Whole(0, 2)), TextAlign(Whole(0, 2)), Chance(50), Chance(50)};
        canvas.DrawTextBox(L"A box of words that wraps onto a second line \u222B", Font(), Colour(), Rect(), format);
        break;
      }
      case 2: canvas.DrawLine(Point(), Point(), Pen()); break;
      case 3: {
        std::vector<PointF> points(size_t(Whole(2, 6)));
        for (PointF& p : points) p = Point();
        if (Chance(50)) {
          canvas.DrawPolyline(points, Pen());
        } else {
          canvas.DrawCurve(points, Real(0, 1.2f), Pen());
        }
        break;
      }
      case 4: canvas.FillRect(Rect(), Fill()); break;
      case 5:
        if (Chance(50)) {
          canvas.FillRoundedRect(Rect(), Real(0, 30), Fill());
        } else {
          canvas.StrokeRoundedRect(Rect(), Real(0, 30), Pen());
        }
        break;
      case 6:
        if (Chance(50)) {
          canvas.FillEllipse(Rect(), Fill());
        } else {
          canvas.StrokeEllipse(Rect(), Pen());
        }
        break;
      case 7: {
        Path path;
        path.MoveTo(Point()).BezierTo(Point(), Point(), Point()).ArcTo(Rect(), Real(0, 360), Real(-270, 270));
        if (Chance(50)) path.Close();
        if (Chance(50)) {
          canvas.FillPath(path, Fill());
        } else {
          canvas.StrokePath(path, Pen());
        }
        break;
      }
      case 8: canvas.DrawGlyphs(L"\u2211\u222B\u221A\u2202", FontSpec{L"Cambria Math", Real(20, 60)}, Colour(), Point()); break;
      default: {
        const int kind = Whole(0, 2);
        if (kind == 0) canvas.PushClip(Rect());
        if (kind == 1) canvas.PushRoundedClip(Rect(), Real(0, 25));
        if (kind == 2) canvas.PushScale(Real(0.5f, 1.8f), Real(0.5f, 1.8f));
        for (int i = Whole(1, 3); i > 0; --i) Item(canvas, depth + 1);
        canvas.Pop();
      }
    }
  }

  // A block of lines clipped to its rectangle and scrolled by `scroll`, as the panel's text is.
  void TextBlock(RecordingCanvas& canvas, float scroll) {
    const RectF block{30.5f, 60.25f, 180, 70};
    canvas.PushClip(block);
    const FontSpec body{L"Segoe UI Semibold", 15.5f}, italic{L"Cambria Math", 17, kFontItalic};
    for (int line = 0; line < 8; ++line) {
      const float y = block.y + 4 + 21.3f * float(line) - scroll;
      canvas.DrawGlyphs(L"Line " + std::to_wstring(line) + L" of scrolled words", body, 0xFFF0F0F0, {block.x + 2, y});
      canvas.DrawGlyphs(L"f(x)", italic, 0xFFFFD070, {block.x + 150, y});
      canvas.DrawLine({block.x + 150, y + 20}, {block.x + 175, y + 20}, Stroke{0xFFFFD070, 1.5f, LineCap::Round});
    }
    canvas.Pop();
  }

  // The frame: a background, the fixed items, the scrolled block, the changing items.
  std::vector<DrawCall> Make(const std::vector<DrawCall>& fixed, const std::vector<DrawCall>& changing, float scroll) {
    RecordingCanvas canvas;
    canvas.FillRect({-1, -1, 402, 402}, Brush(0xFF1E1E22));
    ReplayDrawCalls(fixed, canvas);
    TextBlock(canvas, scroll);
    ReplayDrawCalls(changing, canvas);
    return canvas.Calls();
  }

  std::vector<DrawCall> Items(int count) {
    RecordingCanvas canvas;
    for (int i = 0; i < count; ++i) Item(canvas);
    return canvas.Calls();
  }

 private:
  std::mt19937 random_;
};

// The calls drawn by GDI+ straight onto a transparent buffer.
std::vector<uint32_t> DrawnDirectly(const std::vector<DrawCall>& calls, GdiplusFonts& fonts, int width, int height,
                                    float scale) {
  std::vector<uint32_t> pixels(size_t(width) * height, 0);
  Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels.data()));
  Gdiplus::Graphics graphics(&bitmap);
  {
    GdiplusCanvas canvas(graphics, fonts);
    canvas.PushScale(scale, scale);
    ReplayDrawCalls(calls, canvas);
  }
  graphics.Flush(Gdiplus::FlushIntentionSync);
  return pixels;
}

struct Difference {
  int largest = 0;
  int x = 0, y = 0;
  uint32_t expected = 0, actual = 0;
};

Difference Compare(const std::vector<uint32_t>& expected, const std::vector<uint32_t>& actual, int width) {
  Difference found;
  for (size_t i = 0; i < expected.size(); ++i) {
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = std::abs(int((expected[i] >> shift) & 0xFF) - int((actual[i] >> shift) & 0xFF));
      if (d > found.largest) found = {d, int(i % size_t(width)), int(i / size_t(width)), expected[i], actual[i]};
    }
  }
  return found;
}

void Save(std::vector<uint32_t>& pixels, int width, int height, const std::string& name) {
  Gdiplus::Bitmap picture(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels.data()));
  SaveScreenshot(picture, name.c_str());
}

TEST(FrameBuffer, RandomFramesShowWhatGdiplusDrawsDirectly) {
  ScopedGdiplus gdiplus;
  ASSERT_TRUE(gdiplus.started());
  GdiplusFonts fonts;
  std::vector<uint32_t> unused(1);
  Gdiplus::Bitmap measuring(1, 1, 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(unused.data()));
  Gdiplus::Graphics measuringGraphics(&measuring);
  UseSmoothDrawing(measuringGraphics);
  GdiplusMeasurer measurer(measuringGraphics, fonts);

  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    Frames random(seed);
    FrameBuffer frames;
    float scale = seed % 2 ? 1.0f : 1.25f;
    int width = int(240 * scale), height = int(180 * scale);
    std::vector<uint32_t> buffer(size_t(width) * height, 0);
    std::vector<DrawCall> fixed = random.Items(6), changing = random.Items(4);
    float scroll = 0;
    std::vector<DrawCall> frame;
    for (int step = 0; step < 24; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", frame " + std::to_string(step));
      const int change = random.Whole(0, 9);
      if (change <= 3) scroll = std::max(0.0f, scroll + random.Real(-12, 16));  // the wheel, or a drag
      if (change == 4) changing = random.Items(4);
      if (change == 5) fixed = random.Items(6);
      if (change == 6) {  // pixels drawn by someone else
        std::fill(buffer.begin(), buffer.end(), 0x80402010u);
        frames.Reset();
      }
      if (change == 7 && step > 0) {  // a new scale, and a buffer of its size
        scale = scale == 1.0f ? 1.5f : 1.0f;
        width = int(240 * scale);
        height = int(180 * scale);
        buffer.assign(size_t(width) * height, 0);
        frames.Reset();
      }
      // change 8 and 9: the same frame again
      frame = random.Make(fixed, changing, scroll);
      RECT update{0, 0, width, height};
      if (random.Chance(25)) {
        const int left = random.Whole(0, width - 2), top = random.Whole(0, height - 2);
        update = {left, top, random.Whole(left + 1, width), random.Whole(top + 1, height)};
      }

      std::vector<uint32_t> expected = buffer;
      const std::vector<uint32_t> direct = DrawnDirectly(frame, fonts, width, height, scale);
      for (int y = update.top; y < update.bottom; ++y) {
        std::copy(direct.begin() + size_t(y) * width + update.left, direct.begin() + size_t(y) * width + update.right,
                  expected.begin() + size_t(y) * width + update.left);
      }
      frames.Draw(fonts, measurer, reinterpret_cast<uint8_t*>(buffer.data()), width, height, update, scale, frame);

      const Difference difference = Compare(expected, buffer, width);
      if (difference.largest > 2) {
        Save(expected, width, height, "frame_buffer_expected");
        Save(buffer, width, height, "frame_buffer_drawn");
        std::string calls;
        for (const DrawCall& call : frame) calls += DescribeDrawCall(call) + "\n";
        FAIL() << "off by " << difference.largest << " at " << difference.x << "," << difference.y << ": expected "
               << std::hex << difference.expected << ", drawn " << difference.actual << std::dec << "\nupdate "
               << update.left << "," << update.top << " " << update.right << "," << update.bottom << "\n"
               << calls;
      }
    }
    if (seed == 1) Save(buffer, width, height, "frame_buffer_random");
  }
}

}  // namespace
