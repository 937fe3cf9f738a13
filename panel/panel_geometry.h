#pragma once
// Where the panel goes and what shape it has: pure arithmetic over rectangles, so the rules can be
// checked without a window. Logical lengths are those of the nominal 388 x 486 panel.
#include <vector>

#include "core/geometry.h"

inline constexpr float kPanelLogicalWidth = 388.0f;
inline constexpr float kPanelLogicalHeight = 486.0f;

// A logical length in device pixels at the given scale, rounded to the nearest integer.
int ScaledPixels(float logical, float uiScale);

// The layout scale: the smallest of the DPI scale and the two work-area ratios, so the panel never
// exceeds its monitor's work area and is never drawn larger than the monitor's DPI asks for.
float ComputeUiScale(float dpiScale, int workWidth, int workHeight);

struct Placement {
  float uiScale = 1.0f;
  PixelRect window;
};

// The panel's rectangle on a monitor. The first placement puts it in the bottom-right corner of the
// work area, 22 and 20 logical pixels from the edges; later placements keep the current bottom-right
// corner. The result is always clamped into the work area. Returns false (and leaves `out` alone)
// when the work area is empty.
bool PlacePanel(const PixelRect& workArea, const PixelRect& current, float dpiScale, bool firstTime,
                Placement& out);

// One horizontal run of the window's outline.
struct RegionSpan {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const RegionSpan&) const = default;
};

// The rounded outline of a W x H client area as rectangles whose union is the window region: one body
// rectangle plus a one-pixel row span for each row of the top and bottom corners. Empty when W or H
// is 0.
std::vector<RegionSpan> RoundedRegionSpans(int width, int height, float uiScale, bool glassActive);

// What a point on the panel is for the system: part of the draggable header or ordinary client area.
enum class PanelHit { Client, Caption };

// `x`, `y` in client pixels; `page` 0, 1 or 2.
PanelHit HitTestPanel(int x, int y, int clientWidth, float uiScale, int page);
