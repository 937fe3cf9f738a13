// The hands-free question check on a full 3,000-code-unit screen text.
#include <benchmark/benchmark.h>

#include <string>

#include "tutor/question_detect.h"

namespace {

std::wstring ScreenText(const std::wstring& line, std::size_t units) {
  std::wstring text;
  while (text.size() < units) text += line;
  text.resize(units);
  return text;
}

// Ordinary prose: no sign matches, so every table entry scans the whole text.
void BM_LooksLikeQuestionProse(benchmark::State& state) {
  const std::wstring text = ScreenText(L"The weather report for the coming week shows light rain and wind.\n", 3000);
  for (auto _ : state) benchmark::DoNotOptimize(LooksLikeQuestion(text));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LooksLikeQuestionProse);

// A quiz page with option lines and a question phrase.
void BM_LooksLikeQuestionQuiz(benchmark::State& state) {
  const std::wstring text = ScreenText(L"Which of the following is true?\nA) one\nB) two\nC) three\nD) four\n", 3000);
  for (auto _ : state) benchmark::DoNotOptimize(LooksLikeQuestion(text));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LooksLikeQuestionQuiz);

}  // namespace
