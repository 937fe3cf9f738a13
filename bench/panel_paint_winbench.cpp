// One full paint of the panel's answer page with math under Wine: the back buffer's rows cleared,
// wrapped in a GDI+ bitmap and drawn by PaintPanel, as WM_PAINT does (without the final copy to
// the window). It runs on the UI thread, so it must stay far below a frame (16 ms). Google
// Benchmark is built for the host only, hence a plain timing loop; run by hand:
//   cmake --build <windows build> --target panel_paint_winbench
//   scripts/wine-exec <windows build>/panel_paint_winbench.exe     (with a DISPLAY)
#include <windows.h>

#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "app/core/dib_section_win.h"
#include "app/core/unique_handle_win.h"
#include "bench/median_timing.h"
#include "draw/cached_measurer.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "panel/panel_paint.h"

namespace {

constexpr int kRuns = 41;

// Forwards every call but the texts, to tell how much of a paint is text.
class ShapesOnly : public Canvas {
 public:
  explicit ShapesOnly(Canvas& inner) : inner_(inner) {}
  void DrawGlyphs(std::wstring_view, const FontSpec&, Argb, PointF) override {}
  void DrawTextBox(std::wstring_view, const FontSpec&, Argb, const RectF&, const TextBoxFormat&) override {}
  void DrawLine(PointF a, PointF b, const Stroke& s) override { inner_.DrawLine(a, b, s); }
  void DrawPolyline(std::span<const PointF> p, const Stroke& s) override { inner_.DrawPolyline(p, s); }
  void DrawCurve(std::span<const PointF> p, float t, const Stroke& s) override { inner_.DrawCurve(p, t, s); }
  void FillRect(const RectF& r, const Brush& b) override { inner_.FillRect(r, b); }
  void FillRoundedRect(const RectF& r, float radius, const Brush& b) override { inner_.FillRoundedRect(r, radius, b); }
  void StrokeRoundedRect(const RectF& r, float radius, const Stroke& s) override {
    inner_.StrokeRoundedRect(r, radius, s);
  }
  void FillEllipse(const RectF& r, const Brush& b) override { inner_.FillEllipse(r, b); }
  void StrokeEllipse(const RectF& r, const Stroke& s) override { inner_.StrokeEllipse(r, s); }
  void FillPath(const Path& p, const Brush& b) override { inner_.FillPath(p, b); }
  void StrokePath(const Path& p, const Stroke& s) override { inner_.StrokePath(p, s); }
  void PushClip(const RectF& r) override { inner_.PushClip(r); }
  void PushRoundedClip(const RectF& r, float radius) override { inner_.PushRoundedClip(r, radius); }
  void PushScale(float x, float y) override { inner_.PushScale(x, y); }
  void Pop() override { inner_.Pop(); }

 private:
  Canvas& inner_;
};

TutorReply MathAnswer() {
  TutorReply reply;
  reply.status = TutorReply::Answer;
  reply.text = L"One half is $\\frac{1}{2}$ of the whole, and $$\\sum_{k=1}^{n} k = \\frac{n(n+1)}{2}$$ "
               L"sums the rest; the root $\\sqrt{x^2+1}$ grows like $|x|$.";
  reply.explanation = L"Split the whole into two equal parts: each is $\\frac{1}{2}$. The sum pairs the first "
                      L"and last terms, $1 + n$, and there are $\\frac{n}{2}$ such pairs.";
  reply.option = 2;
  return reply;
}

// Paints `view` at `scale` into a fresh back buffer of the scaled size, the given number of times.
// With `memo`, measurements are remembered across the paints, as the panel's painter does.
double MedianPaintMs(PanelView view, float scale, GdiplusFonts& fonts, bool shapesOnly = false,
                     MeasureMemo* memo = nullptr) {
  const int width = int(388 * scale + 0.5f), height = int(486 * scale + 0.5f);
  void* bits = nullptr;
  UniqueBitmap buffer = CreateTopDownDib(nullptr, width, height, bits);
  if (!buffer) return -1;
  return MedianMs(kRuns, [&] {
    GdiFlush();
    std::memset(bits, 0, size_t(width) * height * 4);
    Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&bitmap);
    graphics.SetClip(Gdiplus::Rect(0, 0, width, height));
    GdiplusCanvas canvas(graphics, fonts);
    GdiplusMeasurer gdiplusMeasurer(graphics, fonts);
    MeasureMemo fresh;
    CachedMeasurer measurer(gdiplusMeasurer, memo ? *memo : fresh);
    canvas.PushScale(scale, scale);
    ShapesOnly shapes(canvas);
    Canvas& target = shapesOnly ? static_cast<Canvas&>(shapes) : canvas;
    PaintPanel(target, target, measurer, width / scale, height / scale, view);
    canvas.Pop();
    graphics.Flush(Gdiplus::FlushIntentionSync);
  });
}

}  // namespace

int main() {
  ScopedGdiplus gdiplus;
  if (!gdiplus.started()) {
    std::puts("GDI+ did not start");
    return 1;
  }
  GdiplusFonts fonts;
  const TutorReply answer = MathAnswer();
  PanelView view;
  view.reply = &answer;
  view.scanHotkey = L"F9";
  TutorReply plain = answer;
  plain.text = L"One half of the whole, and the sum of the first n numbers is n times n plus one over two; "
               L"the root of x squared plus one grows like the size of x.";
  plain.explanation = L"Split the whole into two equal parts. The sum pairs the first and last terms.";
  PanelView plainView = view;
  plainView.reply = &plain;
  PanelView empty;
  empty.scanHotkey = L"F9";
  std::printf("%-44s %8.3f ms\n", "answer page with math, 388x486, dark", MedianPaintMs(view, 1, fonts));
  view.lightTheme = true;
  std::printf("%-44s %8.3f ms\n", "answer page with math, 388x486, light", MedianPaintMs(view, 1, fonts));
  std::printf("%-44s %8.3f ms\n", "answer page with math, 582x729 (scale 1.5)", MedianPaintMs(view, 1.5f, fonts));
  std::printf("%-44s %8.3f ms\n", "answer page without math, 388x486, dark", MedianPaintMs(plainView, 1, fonts));
  std::printf("%-44s %8.3f ms\n", "empty answer page, 388x486, dark", MedianPaintMs(empty, 1, fonts));
  std::printf("%-44s %8.3f ms\n", "answer page with math, shapes only", MedianPaintMs(view, 1, fonts, true));
  MeasureMemo memo;
  std::printf("%-44s %8.3f ms\n", "answer page with math, measures remembered",
              MedianPaintMs(view, 1, fonts, false, &memo));
  return 0;
}
