#pragma once
// Copying a rectangle of the desktop into a ScreenImage, and the grey thumbnail of the primary
// screen. The size rule, the rectangle choice and the luma reduction are portable; the copies
// themselves are GDI calls (capture_win.cpp).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/geometry.h"
#include "screen/screen_image.h"

inline constexpr int kMaxCaptureSide = 0x7FFF;  // sides above this are refused
inline constexpr int kVisionMaxSide = 1440;     // longest side of a vision-scan image
inline constexpr int kSnipMaxSide = 1280;       // longest side of a snip image

// What one capture does: copy `source` into an image of outWidth x outHeight.
struct CapturePlan {
  PixelRect source;
  int outWidth = 0;
  int outHeight = 0;
  // A plain bit-block copy when the sizes agree, a halftone stretch otherwise.
  bool Stretches() const { return outWidth != source.Width() || outHeight != source.Height(); }
};

// The plan for copying `source` with at most `maxSide` pixels on the longer side (below 1: no
// limit). Nothing when a side is outside 1..32767. Scaling keeps the aspect ratio, makes the
// longer side exactly maxSide and never lets a side drop below 1.
std::optional<CapturePlan> PlanCapture(const PixelRect& source, int maxSide);

// GetSystemMetrics, or a stand-in for it in tests.
using SystemMetricFn = std::function<int(int index)>;

// The area of a full-screen scan: the whole virtual desktop when `allMonitors` is set (metrics
// 76..79), else the primary monitor at 0, 0 (metrics 0 and 1).
PixelRect FullScreenArea(bool allMonitors, const SystemMetricFn& systemMetric);

// Luma of one pixel with integer weights that add up to 256.
constexpr std::uint8_t Luma(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  return static_cast<std::uint8_t>((77 * red + 150 * green + 29 * blue) >> 8);
}

// Reduces `pixelCount` blue-green-red-x pixels to one luma byte each, in order.
void ReduceToLuma(const std::uint8_t* bgrx, std::size_t pixelCount, std::uint8_t* luma);

// ---- Windows ----------------------------------------------------------------------------------

// Copies the desktop rectangle at left, top of width x height, scaled down to at most maxSide on
// the longer side (below 1: full resolution). An empty image on any failure; never throws; every
// GDI object is released on every path.
ScreenImage CaptureScreenRect(int left, int top, int width, int height, int maxSide);

// FullScreenArea with the real system metrics.
PixelRect FullScreenArea(bool allMonitors);

// Captures the area of a full-screen scan (see FullScreenArea) with the given side limit.
ScreenImage CaptureFullScreen(bool allMonitors, int maxSide);

// Fills `thumbnail` with a halftone-reduced grey copy of the primary monitor; false (and the
// thumbnail unspecified) when nothing could be captured.
bool CapturePrimaryThumbnail(ScreenThumbnail& thumbnail);
