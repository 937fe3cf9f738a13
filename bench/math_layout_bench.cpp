// Cost of laying out a typical tutor answer with math for the answer card on every paint:
// splitting it, parsing its math runs, measuring every token and wrapping the lines, with the
// fixed-advance measurer standing in for the font engine; and the same plus drawing on the
// recording canvas.
#include <benchmark/benchmark.h>

#include <string>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "math/rich_draw.h"
#include "math/rich_layout.h"

namespace {

// About 400 characters with three math runs: two inline, one display.
const std::wstring kAnswer =
    L"Factor the quadratic $x^2 - 5x + 6 = 0$ as a product of two linear terms. The product of the "
    L"roots is 6 and their sum is 5, so the roots are 2 and 3. The quadratic formula gives the same\n"
    L"$$x = \\frac{-b \\pm \\sqrt{b^2-4ac}}{2a}$$\n"
    L"with a discriminant of $\\Delta = b^2 - 4ac = 1$, which is positive, so both roots are real and "
    L"distinct; the vertex lies halfway between them. Option C lists them in order.";

// The answer card's body at the nominal panel size.
constexpr float kWidth = 340;
constexpr float kHeight = 160;
constexpr float kSize = 19.5f;

void BM_LayOutAnswer(benchmark::State& state) {
  FixedAdvanceMeasurer measurer;
  for (auto _ : state) benchmark::DoNotOptimize(LayOutRichText(measurer, kAnswer, kWidth, kHeight, kSize, true));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kAnswer.size()));
}
BENCHMARK(BM_LayOutAnswer)->Unit(benchmark::kMicrosecond);

void BM_DrawAnswer(benchmark::State& state) {
  FixedAdvanceMeasurer measurer;
  RecordingCanvas canvas;
  MathGraphics graphics{canvas, measurer};
  float scroll = 0;
  float maxScroll = 0;
  for (auto _ : state) {
    canvas.Clear();
    DrawRichText(graphics, kAnswer, {12, 36, kWidth, kHeight}, kSize, 0xFF101014, true, scroll, maxScroll);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kAnswer.size()));
}
BENCHMARK(BM_DrawAnswer)->Unit(benchmark::kMicrosecond);

}  // namespace
