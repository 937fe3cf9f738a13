#include "screen/capture.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMetricCxScreen = 0;
constexpr int kMetricCyScreen = 1;
constexpr int kMetricXVirtualScreen = 76;
constexpr int kMetricYVirtualScreen = 77;
constexpr int kMetricCxVirtualScreen = 78;
constexpr int kMetricCyVirtualScreen = 79;

int ScaledSide(int side, double scale) {
  return std::max(1, static_cast<int>(std::lround(side * scale)));
}

}  // namespace

std::optional<CapturePlan> PlanCapture(const PixelRect& source, int maxSide) {
  const long long wide = static_cast<long long>(source.right) - source.left;
  const long long high = static_cast<long long>(source.bottom) - source.top;
  if (wide < 1 || wide > kMaxCaptureSide || high < 1 || high > kMaxCaptureSide) return std::nullopt;
  const int width = static_cast<int>(wide), height = static_cast<int>(high);
  CapturePlan plan{source, width, height};
  if (maxSide < 1 || (width <= maxSide && height <= maxSide)) return plan;
  const double scale = static_cast<double>(maxSide) / std::max(width, height);
  plan.outWidth = ScaledSide(width, scale);
  plan.outHeight = ScaledSide(height, scale);
  return plan;
}

PixelRect FullScreenArea(bool allMonitors, const SystemMetricFn& systemMetric) {
  if (allMonitors) {
    return PixelRectAt(systemMetric(kMetricXVirtualScreen), systemMetric(kMetricYVirtualScreen),
                       systemMetric(kMetricCxVirtualScreen), systemMetric(kMetricCyVirtualScreen));
  }
  return PixelRectAt(0, 0, systemMetric(kMetricCxScreen), systemMetric(kMetricCyScreen));
}

void ReduceToLuma(const std::uint8_t* bgrx, std::size_t pixelCount, std::uint8_t* luma) {
  for (std::size_t i = 0; i < pixelCount; ++i, bgrx += 4) luma[i] = Luma(bgrx[0], bgrx[1], bgrx[2]);
}
