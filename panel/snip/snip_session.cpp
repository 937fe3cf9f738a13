#include "panel/snip/snip_session.h"

#include <algorithm>

namespace {
int Clamp(int value, int high) { return std::clamp(value, 0, std::max(high, 0)); }

// Overlay coordinates plus the desktop origin, held within the range of int.
int ToDesktop(int overlay, int origin) {
  long long sum = static_cast<long long>(overlay) + origin;
  return static_cast<int>(std::clamp<long long>(sum, -2147483647LL - 1, 2147483647LL));
}
}  // namespace

void SnipSession::Press(int x, int y) {
  dragging_ = true;
  startX_ = currentX_ = x;
  startY_ = currentY_ = y;
}

bool SnipSession::Move(int x, int y) {
  if (!dragging_) return false;
  currentX_ = x;
  currentY_ = y;
  return true;
}

std::optional<PixelRect> SnipSession::Selection() const {
  if (!dragging_) return std::nullopt;
  const int width = desktop_.Width(), height = desktop_.Height();
  PixelRect r{Clamp(std::min(startX_, currentX_), width), Clamp(std::min(startY_, currentY_), height),
              Clamp(std::max(startX_, currentX_), width), Clamp(std::max(startY_, currentY_), height)};
  if (r.right <= r.left || r.bottom <= r.top) return std::nullopt;
  return r;
}

std::optional<PixelRect> SnipSession::Finish(bool accept) {
  const bool wasDragging = dragging_;
  dragging_ = false;
  if (!accept || !wasDragging) return std::nullopt;
  PixelRect r{ToDesktop(std::min(startX_, currentX_), desktop_.left),
              ToDesktop(std::min(startY_, currentY_), desktop_.top),
              ToDesktop(std::max(startX_, currentX_), desktop_.left),
              ToDesktop(std::max(startY_, currentY_), desktop_.top)};
  // Differences of clamped ends cannot overflow once widened.
  if (static_cast<long long>(r.right) - r.left < kSnipMinSide ||
      static_cast<long long>(r.bottom) - r.top < kSnipMinSide) {
    return std::nullopt;
  }
  return r;
}

bool SnipLabelShown(int width, int height) { return width > kSnipLabelMinWidth && height > kSnipLabelMinHeight; }

std::wstring SnipLabelText(int width, int height) {
  return std::to_wstring(width) + L" \u00D7 " + std::to_wstring(height);
}

std::wstring SnipRectText(const PixelRect& rect) {
  return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," + std::to_wstring(rect.right) + L"," +
         std::to_wstring(rect.bottom);
}
