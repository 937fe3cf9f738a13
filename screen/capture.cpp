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

bool IsCapturableSide(int side) { return side >= 1 && side <= kMaxCaptureSide; }

int ScaledSide(int side, double scale) {
  return std::max(1, static_cast<int>(std::lround(side * scale)));
}

}  // namespace

std::optional<CapturePlan> PlanCapture(const CaptureRect& source, int maxSide) {
  if (!IsCapturableSide(source.width) || !IsCapturableSide(source.height)) return std::nullopt;
  CapturePlan plan{source, source.width, source.height};
  if (maxSide < 1 || (source.width <= maxSide && source.height <= maxSide)) return plan;
  const double scale = static_cast<double>(maxSide) / std::max(source.width, source.height);
  plan.outWidth = ScaledSide(source.width, scale);
  plan.outHeight = ScaledSide(source.height, scale);
  return plan;
}

CaptureRect FullScreenArea(bool allMonitors, const SystemMetricFn& systemMetric) {
  if (allMonitors) {
    return {systemMetric(kMetricXVirtualScreen), systemMetric(kMetricYVirtualScreen),
            systemMetric(kMetricCxVirtualScreen), systemMetric(kMetricCyVirtualScreen)};
  }
  return {0, 0, systemMetric(kMetricCxScreen), systemMetric(kMetricCyScreen)};
}

void ReduceToLuma(const std::uint8_t* bgrx, std::size_t pixelCount, std::uint8_t* luma) {
  for (std::size_t i = 0; i < pixelCount; ++i, bgrx += 4) luma[i] = Luma(bgrx[0], bgrx[1], bgrx[2]);
}
