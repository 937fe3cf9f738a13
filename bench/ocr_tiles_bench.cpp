// Tiling and line joining of a 4K screen, with an engine that answers instantly: the cost of the
// program's own part of an OCR scan.
#include <benchmark/benchmark.h>

#include <string>

#include "screen/ocr.h"

namespace {

class InstantRecognizer : public TextRecognizer {
 public:
  explicit InstantRecognizer(int maxSide) : maxSide_(maxSide) {}
  int MaxImageDimension() override { return maxSide_; }
  std::vector<std::wstring> RecognizeLines(const std::uint8_t* bgra, int, int) override {
    std::vector<std::wstring> lines;
    for (int i = 0; i < 40; ++i) lines.push_back(L"Line " + std::to_wstring(i % 30) + L" of the page " + std::to_wstring(bgra[0]));
    return lines;
  }

 private:
  int maxSide_;
};

void BM_RecognizeTiles4K(benchmark::State& state) {
  const int maxSide = static_cast<int>(state.range(0));
  ScreenImage image;
  image.width = 3840;
  image.height = 2160;
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 4, 128);
  const TextRecognizerFactory factory = [maxSide] { return std::make_unique<InstantRecognizer>(maxSide); };
  for (auto _ : state) benchmark::DoNotOptimize(RecognizeScreenTextWith(image, factory));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(image.pixels.size()));
  state.counters["tiles"] = static_cast<double>(PlanOcrTiles(image.width, image.height, maxSide).size());
}
// 10000: the whole screen in one tile; 1024: fifteen overlapping tiles.
BENCHMARK(BM_RecognizeTiles4K)->Arg(10000)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace
