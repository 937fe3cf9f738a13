// One full paint of the panel's answer page with math under Wine: the back buffer's rows cleared,
// wrapped in a GDI+ bitmap and drawn by PaintPanel, as WM_PAINT does (without the final copy to
// the window). It runs on the UI thread, so it must stay far below a frame (16 ms). Google
// Benchmark is built for the host only, hence a plain timing loop; run by hand:
//   cmake --build <windows build> --target panel_paint_winbench
//   scripts/wine-exec <windows build>/panel_paint_winbench.exe     (with a DISPLAY)
#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/dib_section_win.h"
#include "core/unique_handle_win.h"
#include "bench/median_timing.h"
#include "draw/cached_measurer.h"
#include "draw/frame_buffer_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "draw/recording_canvas.h"
#include "panel/paint/panel_paint.h"

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

// Forwards every call and adds up how often each kind of call is made and how long it takes.
class TimingCanvas : public Canvas {
 public:
  struct Tally {
    int calls = 0;
    double ms = 0;
  };
  explicit TimingCanvas(Canvas& inner) : inner_(inner) {}
  void DrawGlyphs(std::wstring_view t, const FontSpec& f, Argb c, PointF p) override {
    Time("DrawGlyphs", [&] { inner_.DrawGlyphs(t, f, c, p); });
  }
  void DrawTextBox(std::wstring_view t, const FontSpec& f, Argb c, const RectF& r, const TextBoxFormat& x) override {
    Time("DrawTextBox", [&] { inner_.DrawTextBox(t, f, c, r, x); });
  }
  void DrawLine(PointF a, PointF b, const Stroke& s) override { Time("DrawLine", [&] { inner_.DrawLine(a, b, s); }); }
  void DrawPolyline(std::span<const PointF> p, const Stroke& s) override {
    Time("DrawPolyline", [&] { inner_.DrawPolyline(p, s); });
  }
  void DrawCurve(std::span<const PointF> p, float t, const Stroke& s) override {
    Time("DrawCurve", [&] { inner_.DrawCurve(p, t, s); });
  }
  void FillRect(const RectF& r, const Brush& b) override { Time("FillRect", [&] { inner_.FillRect(r, b); }); }
  void FillRoundedRect(const RectF& r, float radius, const Brush& b) override {
    Time("FillRoundedRect", [&] { inner_.FillRoundedRect(r, radius, b); });
  }
  void StrokeRoundedRect(const RectF& r, float radius, const Stroke& s) override {
    Time("StrokeRoundedRect", [&] { inner_.StrokeRoundedRect(r, radius, s); });
  }
  void FillEllipse(const RectF& r, const Brush& b) override { Time("FillEllipse", [&] { inner_.FillEllipse(r, b); }); }
  void StrokeEllipse(const RectF& r, const Stroke& s) override {
    Time("StrokeEllipse", [&] { inner_.StrokeEllipse(r, s); });
  }
  void FillPath(const Path& p, const Brush& b) override { Time("FillPath", [&] { inner_.FillPath(p, b); }); }
  void StrokePath(const Path& p, const Stroke& s) override { Time("StrokePath", [&] { inner_.StrokePath(p, s); }); }
  void PushClip(const RectF& r) override { Time("PushClip", [&] { inner_.PushClip(r); }); }
  void PushRoundedClip(const RectF& r, float radius) override {
    Time("PushRoundedClip", [&] { inner_.PushRoundedClip(r, radius); });
  }
  void PushScale(float x, float y) override { Time("PushScale", [&] { inner_.PushScale(x, y); }); }
  void Pop() override { Time("Pop", [&] { inner_.Pop(); }); }

  const std::map<std::string_view, Tally>& tallies() const { return tallies_; }

 private:
  template <typename Call>
  void Time(std::string_view name, Call call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    Tally& tally = tallies_[name];
    ++tally.calls;
    tally.ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }

  Canvas& inner_;
  std::map<std::string_view, Tally> tallies_;
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

// The back buffer of the panel's painter at the nominal size, with what it keeps between paints.
struct PainterBuffer {
  static constexpr int kWidth = 388, kHeight = 486;
  void* bits = nullptr;
  UniqueBitmap dib = CreateTopDownDib(nullptr, kWidth, kHeight, bits);
  MeasureMemo memo;
  FrameBuffer frames;

  // Paints `view` as the panel's painter does: recorded, then drawn into the buffer only as far as
  // it differs from the last paint, from sprites where the same calls were drawn before.
  void Paint(PanelView view, GdiplusFonts& fonts) {
    GdiFlush();
    Gdiplus::Bitmap bitmap(kWidth, kHeight, kWidth * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&bitmap);
    UseSmoothDrawing(graphics);
    GdiplusMeasurer gdiplusMeasurer(graphics, fonts);
    CachedMeasurer measurer(gdiplusMeasurer, memo);
    RecordingCanvas frame;
    PaintPanel(frame, frame, measurer, float(kWidth), float(kHeight), view);
    frames.Draw(fonts, measurer, static_cast<uint8_t*>(bits), kWidth, kHeight, RECT{0, 0, kWidth, kHeight}, 1,
                frame.Calls());
  }
};

// With `scrollEachPaint` every paint scrolls the answer to a place not shown before (as the wheel
// does); otherwise every paint is of an unchanged panel (an exposed window, a blink).
double MedianReusedPaintMs(PanelView view, GdiplusFonts& fonts, bool scrollEachPaint) {
  PainterBuffer buffer;
  if (!buffer.dib) return -1;
  int paint = 0;
  return MedianMs(kRuns, [&] {
    if (scrollEachPaint) view.answerScroll = float(paint++) * 0.75f;
    buffer.Paint(view, fonts);
  });
}

// `text` with `mark` put before every word outside math, so that no word was measured before.
std::wstring MarkWords(std::wstring_view text, const std::wstring& mark) {
  std::wstring out;
  bool inMath = false, wordStart = true;
  for (wchar_t c : text) {
    if (c == L'$') inMath = !inMath;
    if (!inMath && wordStart && c != L' ' && c != L'$') out += mark;
    wordStart = c == L' ';
    out += c;
  }
  return out;
}

// The paint that shows an answer as it arrives, after the busy panel. Cold: nothing was painted or
// measured before the busy panel. Warm: the panel has shown other answers, but every run's answer
// is new (each of its words starts with the run's number, so every word is measured anew and
// every line and math run moves), so only the panel's own parts can come from before.
double MedianArrivalPaintMs(const PanelView& busy, const PanelView& answer, GdiplusFonts& fonts, bool warm) {
  std::vector<double> times;
  auto warmBuffer = std::make_unique<PainterBuffer>();
  for (int run = 0; run <= kRuns; ++run) {
    auto coldBuffer = std::make_unique<PainterBuffer>();
    PainterBuffer& buffer = warm ? *warmBuffer : *coldBuffer;
    if (!buffer.dib) return -1;
    TutorReply reply = *answer.reply;
    reply.text = MarkWords(reply.text, std::to_wstring(run));
    reply.explanation = MarkWords(reply.explanation, std::to_wstring(run));
    PanelView arrived = answer;
    arrived.reply = &reply;
    buffer.Paint(busy, fonts);
    const auto start = std::chrono::steady_clock::now();
    buffer.Paint(arrived, fonts);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (run > 0) times.push_back(ms);  // the first run warms the fonts
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The first paint of a panel: nothing painted or measured before.
double MedianFirstPaintMs(const PanelView& view, GdiplusFonts& fonts) {
  return MedianMs(kRuns, [&] {
    PainterBuffer buffer;
    if (buffer.dib) buffer.Paint(view, fonts);
  });
}

// A full paint of a state shown before: the panel goes back and forth between the answer and the
// empty page, so every paint draws the whole frame anew.
double MedianReturnPaintMs(const PanelView& answer, const PanelView& empty, GdiplusFonts& fonts) {
  PainterBuffer buffer;
  if (!buffer.dib) return -1;
  int paint = 0;
  return MedianMs(kRuns, [&] { buffer.Paint(paint++ % 2 ? empty : answer, fonts); });
}

// A streamed answer growing by one token (4 characters) per paint, as timer 1 shows each new
// chunk: the answer first, then the explanation with a math run in it. The median paint per chunk.
double MedianLiveChunkPaintMs(const PanelView& busy, GdiplusFonts& fonts) {
  const std::wstring answer = L"x = 4, found by subtracting 3 and halving";
  std::wstring explanation;
  while (explanation.size() < 700) explanation += L"Each step keeps both sides equal, so $2x = 8$ gives x. ";
  PainterBuffer buffer;
  if (!buffer.dib) return -1;
  PanelView view = busy;
  buffer.Paint(view, fonts);
  LiveAnswer live;
  view.live = &live;
  std::vector<double> times;
  for (size_t written = 4; written < answer.size() + explanation.size(); written += 4) {
    live.answer = answer.substr(0, std::min(written, answer.size()));
    live.explanation = written > answer.size() ? explanation.substr(0, written - answer.size()) : L"";
    ++live.revision;
    const auto start = std::chrono::steady_clock::now();
    buffer.Paint(view, fonts);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("%-44s %8.3f ms (%zu chunks, slowest %.3f ms)\n", "a new chunk of a growing answer",
              times[times.size() / 2], times.size(), times.back());
  return times[times.size() / 2];
}

// Where the time of `runs` paints of `view` goes: calls and milliseconds per paint, by kind of call.
void PrintProfile(const PanelView& view, GdiplusFonts& fonts, int runs) {
  const int width = 388, height = 486;
  void* bits = nullptr;
  UniqueBitmap buffer = CreateTopDownDib(nullptr, width, height, bits);
  if (!buffer) return;
  MeasureMemo memo;
  std::map<std::string_view, TimingCanvas::Tally> total;
  for (int run = 0; run <= runs; ++run) {
    std::memset(bits, 0, size_t(width) * height * 4);
    Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&bitmap);
    GdiplusCanvas canvas(graphics, fonts);
    GdiplusMeasurer gdiplusMeasurer(graphics, fonts);
    CachedMeasurer measurer(gdiplusMeasurer, memo);
    TimingCanvas timing(canvas);
    PanelView copy = view;
    PaintPanel(timing, timing, measurer, float(width), float(height), copy);
    if (run == 0) continue;  // the first paint warms the fonts and the measurements
    for (const auto& [name, tally] : timing.tallies()) {
      total[name].calls += tally.calls;
      total[name].ms += tally.ms;
    }
  }
  std::printf("  per paint, by call:\n");
  for (const auto& [name, tally] : total) {
    std::printf("  %-20s %5.1f calls %8.3f ms\n", std::string(name).c_str(), double(tally.calls) / runs,
                tally.ms / runs);
  }
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
  view.lightTheme = false;
  // Hostile answers, each also the explanation: a first paint of each (nothing measured before).
  std::wstring huge;
  while (huge.size() < 100000) huge += L"word \xD800 lone \xDC00 halves " + std::to_wstring(huge.size()) + L" ";
  auto repeat = [](std::wstring_view piece, int times) {
    std::wstring out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
  };
  const std::pair<const char*, std::wstring> hostile[] = {
      {"answer of 100,000 characters", huge},
      {"math nested to the parser's bound",
       L"$$" + repeat(L"\\frac{1}{", 32) + L"x" + repeat(L"}", 32) + L"$$ then $" + repeat(L"\\sqrt{x^{", 16) + L"y" +
           repeat(L"}}", 16) + L"$"},
      {"a matrix of 1,000 cells",
       L"$$\\begin{pmatrix}" + repeat(repeat(L"a_1 & ", 9) + L"\\frac{1}{2} \\\\", 100) + L"\\end{pmatrix}$$"},
      {"lone surrogates", repeat(L"\xD800 \xDFFF $x^\xDC00$ \\(\xDBFF\\) word\n", 300)},
  };
  for (const auto& [name, text] : hostile) {
    TutorReply reply = answer;
    reply.text = text;
    reply.explanation = text;
    PanelView hostileView = view;
    hostileView.reply = &reply;
    std::printf("%-44s %8.3f ms\n", name, MedianPaintMs(hostileView, 1, fonts));
  }
  std::printf("%-44s %8.3f ms\n", "answer page with math, repainted unchanged", MedianReusedPaintMs(view, fonts, false));
  std::printf("%-44s %8.3f ms\n", "answer page with math, scrolled each paint", MedianReusedPaintMs(view, fonts, true));
  PanelView busy = empty;
  busy.queryRunning = true;
  std::printf("%-44s %8.3f ms\n", "empty panel, painted the first time", MedianFirstPaintMs(empty, fonts));
  std::printf("%-44s %8.3f ms\n", "answer arriving, panel painted the first time",
              MedianArrivalPaintMs(busy, view, fonts, false));
  std::printf("%-44s %8.3f ms\n", "a new answer arriving, panel shown before", MedianArrivalPaintMs(busy, view, fonts, true));
  std::printf("%-44s %8.3f ms\n", "answer page shown again after the empty one", MedianReturnPaintMs(view, empty, fonts));
  MedianLiveChunkPaintMs(busy, fonts);
  std::printf("answer page with math, 388x486, dark, measures remembered:\n");
  PrintProfile(view, fonts, 21);
  return 0;
}
