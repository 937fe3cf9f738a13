// The hands-free comparison of two 128 x 72 thumbnails, run up to twice a second on the UI thread:
// identical screens, and screens whose every pixel differs.
#include <benchmark/benchmark.h>

#include <random>

#include "handsfree/hands_free.h"

namespace {

ScreenThumbnail Random(unsigned seed) {
  ScreenThumbnail t;
  std::mt19937 random(seed);
  for (auto& v : t.luma) v = static_cast<std::uint8_t>(random());
  return t;
}

void BM_ScreenDifferenceSame(benchmark::State& state) {
  const ScreenThumbnail a = Random(1), b = a;
  for (auto _ : state) benchmark::DoNotOptimize(ScreenDifference(a, b));
}
BENCHMARK(BM_ScreenDifferenceSame);

void BM_ScreenDifferenceRandom(benchmark::State& state) {
  const ScreenThumbnail a = Random(1), b = Random(2);
  for (auto _ : state) benchmark::DoNotOptimize(ScreenDifference(a, b));
}
BENCHMARK(BM_ScreenDifferenceRandom);

}  // namespace
