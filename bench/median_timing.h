#pragma once
// The timing loop of the plain Wine timing programs (bench/*_winbench.cpp), where Google Benchmark
// is not built: the median wall time of `runs` calls, in milliseconds, after one call to warm up.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MedianMs(int runs, const std::function<void()>& body) {
  body();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    body();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
