// The program's own work on captured pixels, next to plain copies of the same bytes: the capture
// buffer (written by GetDIBits; a plain copy stands in for it here), with and without filling it
// with zeros first, and the single pass that forces the fourth byte and drops it for the encoder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "screen/pixel_bytes.h"
#include "screen/vision_image.h"

namespace {

constexpr std::size_t kScreenBytes = 1920u * 1080u * 4u;

std::vector<std::uint8_t> Source(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

void BM_CaptureBuffer1080p_Unfilled(benchmark::State& state) {
  const std::vector<std::uint8_t> screen = Source(kScreenBytes);
  for (auto _ : state) {
    PixelBytes pixels;
    pixels.resize(kScreenBytes);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();  // as before a call to the platform: nothing may be assumed dead
    std::memcpy(pixels.data(), screen.data(), kScreenBytes);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kScreenBytes);
}
BENCHMARK(BM_CaptureBuffer1080p_Unfilled);

void BM_CaptureBuffer1080p_ZeroFilled(benchmark::State& state) {
  const std::vector<std::uint8_t> screen = Source(kScreenBytes);
  for (auto _ : state) {
    std::vector<std::uint8_t> pixels(kScreenBytes);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
    std::memcpy(pixels.data(), screen.data(), kScreenBytes);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kScreenBytes);
}
BENCHMARK(BM_CaptureBuffer1080p_ZeroFilled);

ScreenImage VisionImage() {
  ScreenImage image;
  image.width = 1440;
  image.height = 810;
  const std::vector<std::uint8_t> bytes = Source(static_cast<std::size_t>(image.width) * image.height * 4);
  image.pixels.resize(bytes.size());
  std::memcpy(image.pixels.data(), bytes.data(), bytes.size());
  return image;
}

// As the encoder asks for them: strips of rows, forced opaque and dropped to 24 bits into one buffer.
void BM_OpaqueBgr24Strips_1440x810(benchmark::State& state) {
  ScreenImage image = VisionImage();
  std::vector<std::uint8_t> strip(static_cast<std::size_t>(image.width) * 3 * kJpegStripRows);
  for (auto _ : state) {
    for (int row = 0; row < image.height; row += kJpegStripRows) {
      OpaqueBgr24Rows(image, row, std::min(kJpegStripRows, image.height - row), strip.data());
      benchmark::DoNotOptimize(strip.data());
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(image.pixels.size()));
}
BENCHMARK(BM_OpaqueBgr24Strips_1440x810);

// The reference: the 32-bit pixels copied into a freshly allocated buffer.
void BM_Memcpy_1440x810(benchmark::State& state) {
  const ScreenImage image = VisionImage();
  for (auto _ : state) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[image.pixels.size()]);
    std::memcpy(copy.get(), image.pixels.data(), image.pixels.size());
    benchmark::DoNotOptimize(copy.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(image.pixels.size()));
}
BENCHMARK(BM_Memcpy_1440x810);

}  // namespace
