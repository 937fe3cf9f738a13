// Base64 of a 300 KB JPEG-sized buffer, next to a plain copy of the same bytes for scale.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "screen/base64.h"

namespace {

constexpr std::size_t kBytes = 300 * 1024;

std::vector<std::uint8_t> RandomBytes() {
  std::vector<std::uint8_t> bytes(kBytes);
  std::mt19937 random(1);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

void BM_Base64Encode300KB(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = RandomBytes();
  for (auto _ : state) benchmark::DoNotOptimize(Base64Encode(bytes.data(), bytes.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kBytes);
}
BENCHMARK(BM_Base64Encode300KB);

// The reference: copying the same bytes into a freshly allocated buffer.
void BM_Memcpy300KB(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = RandomBytes();
  for (auto _ : state) {
    std::vector<std::uint8_t> copy(bytes.size());
    std::memcpy(copy.data(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kBytes);
}
BENCHMARK(BM_Memcpy300KB);

}  // namespace
