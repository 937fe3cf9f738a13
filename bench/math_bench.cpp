// Cost of preparing a typical tutor answer with math for the answer card: deciding the rich path,
// splitting into tokens and parsing every math run.
#include <benchmark/benchmark.h>

#include <string>

#include "math/math_parser.h"
#include "math/rich_text.h"

namespace {

// About 400 characters: inline and display math, a bracketed run, and dollar amounts.
const std::wstring kAnswer =
    L"To solve $x^2 - 5x + 6 = 0$, factor it as $(x-2)(x-3) = 0$, so $x = 2$ or $x = 3$.\n"
    L"Check: $2^2 - 5 \\cdot 2 + 6 = 0$. The vertex is at $x = \\frac{5}{2}$ and the discriminant "
    L"is $\\Delta = b^2 - 4ac = 1$, so by the formula\n"
    L"$$x = \\frac{-b \\pm \\sqrt{b^2-4ac}}{2a}$$\n"
    L"both roots are real. A pen costs $5 and a book $10, and \\(\\sum_{i=1}^{n} i = \\frac{n(n+1)}{2}\\). Hence the roots form the set $\\{2, 3\\}$.";

// About 400 characters of prose with dollar amounts and no math: the full scan of the plain path.
const std::wstring kPlainAnswer =
    L"The store sells pens at $2 each and notebooks at $5 each, so three pens and two notebooks cost "
    L"$16 in total. If the student pays with a $20 bill, the change is $4. Option B is correct because "
    L"the other options either forget the notebooks or count the pens twice. Remember to multiply the "
    L"price of each item by how many were bought, then add the totals before subtracting from the $20.";

const std::wstring kDisplayRun =
    L"\\left( \\int_0^1 \\frac{x^2}{\\sqrt{1+x^3}}\\,dx \\right) + \\begin{pmatrix} a & b \\\\ c & d \\end{pmatrix}";

void BM_ContainsMath(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ContainsMath(kAnswer));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kAnswer.size()));
}
BENCHMARK(BM_ContainsMath);

void BM_ContainsMathPlain(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ContainsMath(kPlainAnswer));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kPlainAnswer.size()));
}
BENCHMARK(BM_ContainsMathPlain);

void BM_SplitRichTextAnswer(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SplitRichText(kAnswer));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kAnswer.size()));
}
BENCHMARK(BM_SplitRichTextAnswer);

void BM_ParseDisplayRun(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MathParser(kDisplayRun).ParseRow());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kDisplayRun.size()));
}
BENCHMARK(BM_ParseDisplayRun);

}  // namespace
