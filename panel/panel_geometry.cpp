#include "panel/panel_geometry.h"

#include <algorithm>
#include <cmath>

#include "panel/panel_layout.h"

int ScaledPixels(float logical, float uiScale) {
  return static_cast<int>(std::lround(logical * uiScale));
}

float ComputeUiScale(float dpiScale, int workWidth, int workHeight) {
  float byWidth = static_cast<float>(workWidth) / kPanelLogicalWidth;
  float byHeight = static_cast<float>(workHeight) / kPanelLogicalHeight;
  return std::min({dpiScale, byWidth, byHeight});
}

namespace {
// Clamp that stays defined when the range is inverted (the low bound wins).
int ClampLowWins(int value, int low, int high) { return std::max(low, std::min(value, high)); }
}  // namespace

bool PlacePanel(const PixelRect& workArea, const PixelRect& current, float dpiScale, bool firstTime,
                Placement& out) {
  if (workArea.Width() <= 0 || workArea.Height() <= 0) return false;
  if (!(dpiScale > 0.0f)) dpiScale = 1.0f;
  float scale = ComputeUiScale(dpiScale, workArea.Width(), workArea.Height());
  int width = ScaledPixels(kPanelLogicalWidth, scale);
  int height = ScaledPixels(kPanelLogicalHeight, scale);
  int x;
  int y;
  if (firstTime) {
    x = workArea.right - ScaledPixels(22, scale) - width;
    y = workArea.bottom - ScaledPixels(20, scale) - height;
  } else {
    x = current.right - width;
    y = current.bottom - height;
  }
  x = ClampLowWins(x, workArea.left, workArea.right - width);
  y = ClampLowWins(y, workArea.top, workArea.bottom - height);
  out.uiScale = scale;
  out.window = {x, y, x + width, y + height};
  return true;
}

std::vector<RegionSpan> RoundedRegionSpans(int width, int height, float uiScale, bool glassActive) {
  std::vector<RegionSpan> spans;
  if (width <= 0 || height <= 0) return spans;
  float radius = std::min(std::min(width, height) / 2.0f, 30.0f * uiScale);
  int rows = static_cast<int>(std::ceil(radius));
  float offset = glassActive ? 1.0f : 0.5f;
  if (height - rows > rows) spans.push_back({0, rows, width, height - rows});
  for (int y = 0; y < rows; ++y) {
    float d = std::max(radius - static_cast<float>(y) - offset, 0.0f);
    float dx = std::sqrt(std::max(radius * radius - d * d, 0.0f));
    int left = glassActive ? static_cast<int>(std::floor(radius - dx))
                           : static_cast<int>(std::floor(radius - dx + 0.5f));
    spans.push_back({left, y, width - left, y + 1});
    spans.push_back({left, height - 1 - y, width - left, height - y});
  }
  return spans;
}

PanelHit HitTestPanel(int x, int y, int clientWidth, float uiScale, int page) {
  if (!(uiScale > 0.0f)) uiScale = 1.0f;
  if (y >= ScaledPixels(41, uiScale) || y < 0) return PanelHit::Client;
  bool overDots = x >= ScaledPixels(12, uiScale) && x < ScaledPixels(66, uiScale) &&
                  y >= ScaledPixels(12, uiScale) && y < ScaledPixels(30, uiScale);
  if (overDots) return PanelHit::Client;
  float logicalWidth = static_cast<float>(clientWidth) / uiScale;
  float lx = static_cast<float>(x) / uiScale;
  float ly = static_cast<float>(y) / uiScale;
  if (SettingsButtonRect(logicalWidth).Contains(lx, ly)) return PanelHit::Client;
  if (page != 2 && SnipButtonRect(logicalWidth).Contains(lx, ly)) return PanelHit::Client;
  return PanelHit::Caption;
}
