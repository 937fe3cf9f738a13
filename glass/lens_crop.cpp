#include "glass/lens_crop.h"

#include <algorithm>
#include <cmath>

namespace {

PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return {};
  return r;
}

// floor(extent k + 15 + 1), held within what an int rectangle can grow by.
int Margin(int extent, double k) {
  double margin = std::floor(static_cast<double>(extent) * k + 15.0 + 1.0);
  return static_cast<int>(std::clamp(margin, 0.0, 1.0e9));
}

// An edge moved by `by` pixels, held within the range of int.
int Moved(int edge, int by) {
  long long moved = static_cast<long long>(edge) + by;
  return static_cast<int>(std::clamp(moved, -2147483647LL - 1, 2147483647LL));
}

}  // namespace

LensCrop LensCropFor(const PixelRect& monitor, const PixelRect& panel, float scale) {
  double pixelsPerLogical = scale > 0 ? scale : 1.0;  // also catches NaN
  double shortSide = std::min(panel.Width(), panel.Height()) / pixelsPerLogical;
  if (!(shortSide >= 1.0)) shortSide = 1.0;
  double k = (6.5 / (shortSide * 4.621076) + 0.124) * 1.07;
  int growX = Margin(monitor.Width(), k), growY = Margin(monitor.Height(), k);
  PixelRect grown{Moved(panel.left, -growX), Moved(panel.top, -growY), Moved(panel.right, growX),
                  Moved(panel.bottom, growY)};

  LensCrop result;
  result.crop = Intersection(grown, monitor);
  if (result.crop.Width() == 0) return result;
  result.sourceBox = {result.crop.left - monitor.left, result.crop.top - monitor.top,
                      result.crop.right - monitor.left, result.crop.bottom - monitor.top};
  result.panelInCropX = panel.left - result.crop.left;
  result.panelInCropY = panel.top - result.crop.top;
  return result;
}
