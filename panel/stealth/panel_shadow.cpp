#include "panel/stealth/panel_shadow.h"

#include <algorithm>
#include <cmath>

int ShadowMargin(float uiScale) { return static_cast<int>(std::lround(32.0f * uiScale)); }

float RoundedRectDistance(float x, float y, float cx, float cy, float hx, float hy, float radius) {
  const float ex = std::fabs(x - cx) - (hx - radius);
  const float ey = std::fabs(y - cy) - (hy - radius);
  const float outside = std::hypot(std::max(ex, 0.0f), std::max(ey, 0.0f));
  return outside + std::min(std::max(ex, ey), 0.0f) - radius;
}

std::optional<ShadowMask> RenderShadowMask(int width, int height, float uiScale) {
  if (width < 1 || height < 1) return std::nullopt;
  ShadowMask mask;
  mask.margin = ShadowMargin(uiScale);
  mask.width = width + 2 * mask.margin;
  mask.height = height + 2 * mask.margin;
  mask.alpha.assign(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height), 0);

  const float m = static_cast<float>(mask.margin);
  const float hx = width / 2.0f, hy = height / 2.0f;
  const float cx = m + hx, cy = m + hy;
  const float radius = std::min(std::min(hx, hy), 30.0f * uiScale);
  const float nearShift = 1.5f * uiScale, farShift = 8.0f * uiScale;
  const float nearGrow = 0.5f * uiScale, farGrow = 4.0f * uiScale;
  const float nearSpread = 2.5f * uiScale * std::sqrt(2.0f), farSpread = 9.0f * uiScale * std::sqrt(2.0f);
  const float fadeStart = 0.78f * m, fadeLength = std::max(0.22f * m, 1.0f);

  for (int row = 0; row < mask.height; ++row) {
    const float y = row + 0.5f;
    for (int column = 0; column < mask.width; ++column) {
      const float x = column + 0.5f;
      const float s = RoundedRectDistance(x, y, cx, cy, hx, hy, radius);
      if (s <= 0.25f) continue;  // under the panel
      const float ramp = std::clamp(s - 0.25f, 0.0f, 1.0f);
      const float fade = 1.0f - std::clamp((s - fadeStart) / fadeLength, 0.0f, 1.0f);
      const float s1 = RoundedRectDistance(x, y, cx, cy + nearShift, hx, hy, radius);
      const float s2 = RoundedRectDistance(x, y, cx, cy + farShift, hx, hy, radius);
      const float near = 0.18f * 0.5f * std::erfc((s1 + nearGrow) / nearSpread);
      const float far = 0.2f * 0.5f * std::erfc((s2 + farGrow) / farSpread);
      const float alpha = std::clamp((1.0f - (1.0f - far) * (1.0f - near)) * ramp * fade * fade, 0.0f, 1.0f);
      mask.alpha[static_cast<size_t>(row) * mask.width + column] = static_cast<uint8_t>(std::lround(255.0f * alpha));
    }
  }
  return mask;
}
