#pragma once
// A monitor turned to portrait (or upside down): desktop duplication delivers its frames as the
// display hardware scans them, unrotated, while the panel and the monitor rectangle are in desktop
// coordinates. These map a box of the desktop into the unrotated frame and walk the frame's texels
// in the desktop's order, so that the lens sees the desktop the right way up.
#include "core/geometry.h"

// DXGI's rotation of an output (DXGI_MODE_ROTATION): the desktop is the frame turned clockwise by
// 0, 90, 180 or 270 degrees.
enum class OutputRotation { Identity, Rotate90, Rotate180, Rotate270 };

// DXGI_MODE_ROTATION's value (0 unspecified and 1 identity, 2 to 4 the turns); unknown values
// count as identity.
OutputRotation RotationFromDxgi(int value);

// `box`, given inside a desktop of `desktopWidth` x `desktopHeight` pixels (relative to its
// top-left corner), as the box of the unrotated frame that holds the same pixels. The whole
// desktop gives the frame's size.
PixelRect UnrotatedBox(const PixelRect& box, int desktopWidth, int desktopHeight, OutputRotation rotation);

// Where the pixels of a desktop box of `width` x `height` lie in the unrotated box that
// UnrotatedBox gives for it: desktop pixel (x, y) of the box is texel
// (originX + x * xStepX + y * yStepX, originY + x * xStepY + y * yStepY) of the unrotated box.
struct TexelWalk {
  int originX = 0, originY = 0;
  int xStepX = 1, xStepY = 0;  // one pixel to the right in the desktop
  int yStepX = 0, yStepY = 1;  // one pixel down in the desktop
  bool operator==(const TexelWalk&) const = default;
};
TexelWalk DesktopOrderWalk(int width, int height, OutputRotation rotation);
