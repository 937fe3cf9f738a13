#include "glass/output_rotation.h"

OutputRotation RotationFromDxgi(int value) {
  switch (value) {
    case 2: return OutputRotation::Rotate90;
    case 3: return OutputRotation::Rotate180;
    case 4: return OutputRotation::Rotate270;
    default: return OutputRotation::Identity;
  }
}

// Desktop pixel (x, y) of a W x H desktop comes from frame texel:
//   90:  (y, W - 1 - x)      180: (W - 1 - x, H - 1 - y)      270: (H - 1 - y, x)
PixelRect UnrotatedBox(const PixelRect& box, int desktopWidth, int desktopHeight, OutputRotation rotation) {
  const int w = desktopWidth, h = desktopHeight;
  switch (rotation) {
    case OutputRotation::Rotate90: return {box.top, w - box.right, box.bottom, w - box.left};
    case OutputRotation::Rotate180: return {w - box.right, h - box.bottom, w - box.left, h - box.top};
    case OutputRotation::Rotate270: return {h - box.bottom, box.left, h - box.top, box.right};
    case OutputRotation::Identity: break;
  }
  return box;
}

TexelWalk DesktopOrderWalk(int width, int height, OutputRotation rotation) {
  switch (rotation) {
    case OutputRotation::Rotate90: return {0, width - 1, 0, -1, 1, 0};
    case OutputRotation::Rotate180: return {width - 1, height - 1, -1, 0, 0, -1};
    case OutputRotation::Rotate270: return {height - 1, 0, 0, 1, -1, 0};
    case OutputRotation::Identity: break;
  }
  return {};
}
