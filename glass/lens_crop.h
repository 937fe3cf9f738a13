#pragma once
// The part of the desktop the lens can reach around the panel. The lens displaces its samples by up
// to a fixed fraction of the monitor's size, more for a small panel, so the lens pass copies a crop
// around the panel instead of the panel's rectangle alone.
#include "core/geometry.h"

struct LensCrop {
  PixelRect crop;       // virtual-screen pixels, always inside the monitor (empty when the panel is not)
  PixelRect sourceBox;  // the crop inside the monitor's desktop copy: crop minus the monitor's origin
  int panelInCropX = 0;  // panel origin relative to the crop's origin
  int panelInCropY = 0;
  bool operator==(const LensCrop&) const = default;
};

// The crop around `panel` (screen pixels) on `monitor` for a panel drawn at `scale` pixels per
// logical pixel: the panel grown left and right by floor(W k + 16) and above and below by
// floor(H k + 16) pixels (W x H the monitor's size, k from the panel's short side in logical
// pixels), then clipped to the monitor. A scale that is not positive counts as 1.
LensCrop LensCropFor(const PixelRect& monitor, const PixelRect& panel, float scale);
