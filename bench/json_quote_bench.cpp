// JsonQuote of the two strings a vision request carries: a 137 KB JPEG data URL (nothing to escape)
// and a typed question with escapes, each next to a plain copy of the same bytes for scale.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "net/json.h"

namespace {

std::string DataUrl137K() {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string url = "data:image/jpeg;base64,";
  unsigned state = 7;
  while (url.size() < 137 * 1024) {
    state = state * 1103515245u + 12345u;
    url.push_back(kAlphabet[(state >> 16) & 63]);
  }
  return url;
}

// About 4 KB of question text with quotes, backslashes, line breaks and non-ASCII letters.
std::string TypedQuestion4K() {
  std::string text;
  while (text.size() < 4096) text += "Solve \"$\\frac{x^2+1}{2} = 5$\" for x.\n\tShow each step, caf\xC3\xA9 \xE2\x82\xAC.\r\n";
  return text;
}

void RunQuote(benchmark::State& state, const std::string& text) {
  for (auto _ : state) benchmark::DoNotOptimize(JsonQuote(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// The reference: the same bytes copied into a freshly allocated buffer.
void RunMemcpy(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    std::unique_ptr<char[]> copy(new char[text.size() + 2]);
    std::memcpy(copy.get() + 1, text.data(), text.size());
    benchmark::DoNotOptimize(copy.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_JsonQuote_DataUrl137K(benchmark::State& state) { RunQuote(state, DataUrl137K()); }
void BM_Memcpy_DataUrl137K(benchmark::State& state) { RunMemcpy(state, DataUrl137K()); }
void BM_JsonQuote_Question4K(benchmark::State& state) { RunQuote(state, TypedQuestion4K()); }
void BM_Memcpy_Question4K(benchmark::State& state) { RunMemcpy(state, TypedQuestion4K()); }

}  // namespace

BENCHMARK(BM_JsonQuote_DataUrl137K);
BENCHMARK(BM_Memcpy_DataUrl137K);
BENCHMARK(BM_JsonQuote_Question4K);
BENCHMARK(BM_Memcpy_Question4K);
