#pragma once
// The soft drop shadow around the panel, as an alpha mask: two blurred copies of the panel's rounded
// outline, a near one and a far one, both shifted down a little, nothing under the panel itself.
// Portable; panel/shadow_window_win.cpp pushes it to its layered window as premultiplied black.
#include <cstdint>
#include <optional>
#include <vector>

// The shadow's margin around the panel on every side: round(32 x uiScale).
int ShadowMargin(float uiScale);

// Signed distance from (x, y) to the rounded rectangle centred at (cx, cy) with half-size (hx, hy)
// and corner radius `radius`; negative inside.
float RoundedRectDistance(float x, float y, float cx, float cy, float hx, float hy, float radius);

struct ShadowMask {
  int width = 0;   // panel width + 2 x margin
  int height = 0;  // panel height + 2 x margin
  int margin = 0;
  std::vector<uint8_t> alpha;  // width x height, rows top to bottom
};

// The mask for a panel of width x height pixels; nothing when a side is below 1.
std::optional<ShadowMask> RenderShadowMask(int width, int height, float uiScale);
